/** @file ByteReader.h Bounded little-endian reads over bytes held in memory: the one field reader of every file parser. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace os::system
{

/// Reads fields one after another from a position, or at an offset from the start without moving.
/// Every read checks what the data holds first and throws std::runtime_error with a clear message
/// when the data runs short or a length is out of range, so no parser reads past what it was given.
/// The bytes are not copied: they must outlive the reader.
class ByteReader
{
public:
    ByteReader(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    explicit ByteReader(std::string_view bytes) : ByteReader(bytes.data(), bytes.size()) {}

    std::size_t Size() const { return size_; }
    std::size_t Position() const { return position_; }
    std::size_t Remaining() const { return size_ - position_; }
    /// Whether `count` bytes lie at `offset` from the start.
    bool Holds(std::size_t offset, std::size_t count) const { return offset <= size_ && count <= size_ - offset; }

    /// Moves to an offset from the start, at most the end.
    void Seek(std::size_t position);
    void Skip(std::size_t count);

    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    std::uint64_t ReadU64();
    /// The next `count` bytes, passed over: where they lie in the data.
    const std::uint8_t* ReadBytes(std::size_t count);

    /// Fields at an offset from the start; the position stays.
    std::uint8_t U8At(std::size_t offset) const;
    std::uint16_t U16At(std::size_t offset) const;
    std::uint32_t U32At(std::size_t offset) const;

    /// A u32 byte count then the bytes; a count above maxLength or beyond the data, or a zero
    /// byte in the text, throws.
    std::string ReadString(std::size_t maxLength);
    /// A u32 count of items whose smallest encoding takes minItemSize bytes; throws when the
    /// count exceeds maxCount or what the remaining bytes can hold.
    std::uint32_t ReadCount(std::uint32_t maxCount, std::size_t minItemSize);
    /// Throws unless exactly these bytes come next.
    void Expect(const char* magic, std::size_t size);
    /// Throws when bytes are left over.
    void ExpectEnd() const;

private:
    /// Throws unless `size` bytes lie at `offset`.
    void Need(std::size_t offset, std::size_t size) const;

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

} // namespace os::system
