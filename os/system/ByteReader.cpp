/** @file ByteReader.cpp Bounded little-endian reads. */
#include "os/system/ByteReader.h"

#include <cstring>

namespace os::system
{

void ByteReader::Need(std::size_t offset, std::size_t size) const
{
    if (!Holds(offset, size))
        throw std::runtime_error("data ends at byte " + std::to_string(size_) + " inside a field of " +
                                 std::to_string(size) + " bytes at " + std::to_string(offset));
}

void ByteReader::Seek(std::size_t position)
{
    Need(position, 0);
    position_ = position;
}

void ByteReader::Skip(std::size_t count)
{
    Need(position_, count);
    position_ += count;
}

std::uint8_t ByteReader::U8At(std::size_t offset) const
{
    Need(offset, 1);
    return data_[offset];
}

std::uint16_t ByteReader::U16At(std::size_t offset) const
{
    Need(offset, 2);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::uint32_t ByteReader::U32At(std::size_t offset) const
{
    Need(offset, 4);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(data_[offset + i]) << (8 * i);
    return value;
}

std::uint8_t ByteReader::ReadU8()
{
    const std::uint8_t value = U8At(position_);
    position_ += 1;
    return value;
}

std::uint16_t ByteReader::ReadU16()
{
    const std::uint16_t value = U16At(position_);
    position_ += 2;
    return value;
}

std::uint32_t ByteReader::ReadU32()
{
    const std::uint32_t value = U32At(position_);
    position_ += 4;
    return value;
}

std::uint64_t ByteReader::ReadU64()
{
    const std::uint64_t low = ReadU32();
    const std::uint64_t high = ReadU32();
    return low | (high << 32);
}

const std::uint8_t* ByteReader::ReadBytes(std::size_t count)
{
    Need(position_, count);
    const std::uint8_t* bytes = data_ + position_;
    position_ += count;
    return bytes;
}

std::string ByteReader::ReadString(std::size_t maxLength)
{
    const std::uint32_t length = ReadU32();
    if (length > maxLength)
        throw std::runtime_error("text of " + std::to_string(length) + " bytes exceeds " + std::to_string(maxLength));
    const std::uint8_t* bytes = ReadBytes(length);
    std::string text(reinterpret_cast<const char*>(bytes), length);
    if (text.find('\0') != std::string::npos)
        throw std::runtime_error("text holds a zero byte");
    return text;
}

std::uint32_t ByteReader::ReadCount(std::uint32_t maxCount, std::size_t minItemSize)
{
    const std::uint32_t count = ReadU32();
    if (count > maxCount || (minItemSize > 0 && count > Remaining() / minItemSize))
        throw std::runtime_error("count " + std::to_string(count) + " exceeds what the file holds");
    return count;
}

void ByteReader::Expect(const char* magic, std::size_t size)
{
    Need(position_, size);
    if (std::memcmp(data_ + position_, magic, size) != 0)
        throw std::runtime_error("unknown signature");
    position_ += size;
}

void ByteReader::ExpectEnd() const
{
    if (Remaining() != 0)
        throw std::runtime_error(std::to_string(Remaining()) + " bytes follow the data");
}

} // namespace os::system
