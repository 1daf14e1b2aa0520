/** @file ByteWriter.h Little-endian, field-by-field encoding of a store file. */
#pragma once

#include <cstdint>
#include <string>

namespace os::store
{

class ByteWriter
{
public:
    void U8(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void U32(std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            bytes_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void U64(std::uint64_t value)
    {
        U32(static_cast<std::uint32_t>(value));
        U32(static_cast<std::uint32_t>(value >> 32));
    }
    void String(const std::string& text)
    {
        U32(static_cast<std::uint32_t>(text.size()));
        bytes_ += text;
    }
    void Raw(const char* data, std::size_t size) { bytes_.append(data, size); }
    void Reserve(std::size_t size) { bytes_.reserve(size); }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

} // namespace os::store
