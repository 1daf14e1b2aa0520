/** @file ByteReader.cpp Bounded little-endian reads. */
#include "os/store/ByteReader.h"

#include <cstring>

namespace os::store
{

void ByteReader::Need(std::size_t size) const
{
    if (size > Remaining())
        throw std::runtime_error("data ends at byte " + std::to_string(bytes_.size()) + " inside a field of " +
                                 std::to_string(size) + " bytes at " + std::to_string(position_));
}

std::uint8_t ByteReader::ReadU8()
{
    Need(1);
    return static_cast<std::uint8_t>(bytes_[position_++]);
}

std::uint32_t ByteReader::ReadU32()
{
    Need(4);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[position_++])) << (8 * i);
    return value;
}

std::uint64_t ByteReader::ReadU64()
{
    const std::uint64_t low = ReadU32();
    const std::uint64_t high = ReadU32();
    return low | (high << 32);
}

std::string ByteReader::ReadString(std::size_t maxLength)
{
    const std::uint32_t length = ReadU32();
    if (length > maxLength)
        throw std::runtime_error("text of " + std::to_string(length) + " bytes exceeds " + std::to_string(maxLength));
    Need(length);
    std::string text = bytes_.substr(position_, length);
    position_ += length;
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
    Need(size);
    if (std::memcmp(bytes_.data() + position_, magic, size) != 0)
        throw std::runtime_error("unknown signature");
    position_ += size;
}

void ByteReader::ExpectEnd() const
{
    if (Remaining() != 0)
        throw std::runtime_error(std::to_string(Remaining()) + " bytes follow the data");
}

} // namespace os::store
