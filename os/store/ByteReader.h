/** @file ByteReader.h Bounded little-endian reads over the bytes of a store file. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace os::store
{

/// Every read checks what is left first and throws std::runtime_error with a clear message
/// when the data runs short or a length is out of range.
class ByteReader
{
public:
    explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}

    std::size_t Remaining() const { return bytes_.size() - position_; }

    std::uint8_t ReadU8();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    std::uint64_t ReadU64();
    /// A u32 byte count then the bytes; a count above maxLength or beyond the data throws.
    std::string ReadString(std::size_t maxLength);
    /// A u32 count of items whose smallest encoding takes minItemSize bytes; throws when the
    /// count exceeds maxCount or what the remaining bytes can hold.
    std::uint32_t ReadCount(std::uint32_t maxCount, std::size_t minItemSize);
    /// Throws unless exactly these bytes come next.
    void Expect(const char* magic, std::size_t size);
    /// Throws when bytes are left over.
    void ExpectEnd() const;

private:
    void Need(std::size_t size) const;

    const std::string& bytes_;
    std::size_t position_ = 0;
};

} // namespace os::store
