/** @file StandardStream.cpp Copying, strings and typed values on top of a stream's raw Read and Write. */
#include "KorvaneXDK/core/StandardStream.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

std::int32_t CStandardStream::CopyFrom(IKorvaneStream& source, std::int32_t size)
{
    if (size < 0)
        return 0;
    if (size == 0) {
        source.Seek(0);
        size = source.GetSize();
    }
    const std::int64_t left = static_cast<std::int64_t>(source.GetSize()) - source.GetPosition();
    if (size > left)
        size = left > 0 ? static_cast<std::int32_t>(left) : 0;
    if (size == 0)
        return 0;

    // Grow the target once up front so a memory target is allocated a single time.
    const std::int32_t oldSize = GetSize();
    const std::int64_t targetEnd = static_cast<std::int64_t>(GetPosition()) + size;
    bool grown = false;
    if (targetEnd > oldSize && targetEnd <= INT32_MAX) {
        SetSize(static_cast<std::int32_t>(targetEnd));
        grown = true;
    }

    std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[kCopyBlockSize]);
    std::int32_t copied = 0;
    while (copied < size) {
        const std::int32_t want = std::min(kCopyBlockSize, size - copied);
        const std::int32_t got = source.Read(block.get(), want);
        if (got <= 0)
            break;
        const std::int32_t put = Write(block.get(), got);
        if (put > 0)
            copied += put;
        if (put < got || got < want)
            break;
    }

    // A short copy must not leave the zeroed tail of the early growth behind.
    if (grown && copied < size) {
        const std::int32_t reached = GetPosition();
        SetSize(std::max(oldSize, reached));
    }
    return copied;
}

void CStandardStream::ReadString(std::string& out)
{
    const std::int32_t count = ReadInt32();
    const std::int64_t left = static_cast<std::int64_t>(GetSize()) - GetPosition();
    if (count < 0 || count > left)
        throw EReadError(this, "Failed to read string: invalid length");
    std::string text(static_cast<std::size_t>(count), '\0');
    const std::int32_t got = count > 0 ? Read(text.data(), count) : 0;
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    // The text ends at its first zero byte, as it would in a C string.
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    out = std::move(text);
}

std::int32_t CStandardStream::WriteString(const std::string& text)
{
    if (text.size() > static_cast<std::size_t>(INT32_MAX))
        throw EWriteError(this, "Failed to write string: text too long");
    const std::int32_t count = static_cast<std::int32_t>(text.size());
    std::int32_t written = WriteInt32(count);
    if (count > 0)
        written += Write(text.data(), count);
    return written;
}

std::int32_t CStandardStream::WriteLittleEndian(std::uint64_t value, int width)
{
    std::uint8_t bytes[8];
    for (int i = 0; i < width; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return Write(bytes, width);
}

std::uint64_t CStandardStream::ReadLittleEndian(int width)
{
    std::uint8_t bytes[8] = {};
    Read(bytes, width); // missing bytes of a short read stay zero
    std::uint64_t value = 0;
    for (int i = 0; i < width; ++i)
        value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return value;
}

std::int32_t CStandardStream::WriteInt8(std::int8_t value)
{
    return WriteLittleEndian(static_cast<std::uint8_t>(value), 1);
}
std::int8_t CStandardStream::ReadInt8()
{
    return static_cast<std::int8_t>(ReadLittleEndian(1));
}
std::int32_t CStandardStream::WriteInt16(std::int16_t value)
{
    return WriteLittleEndian(static_cast<std::uint16_t>(value), 2);
}
std::int16_t CStandardStream::ReadInt16()
{
    return static_cast<std::int16_t>(ReadLittleEndian(2));
}
std::int32_t CStandardStream::WriteInt32(std::int32_t value)
{
    return WriteLittleEndian(static_cast<std::uint32_t>(value), 4);
}
std::int32_t CStandardStream::ReadInt32()
{
    return static_cast<std::int32_t>(ReadLittleEndian(4));
}
std::int32_t CStandardStream::WriteInt64(std::int64_t value)
{
    return WriteLittleEndian(static_cast<std::uint64_t>(value), 8);
}
std::int64_t CStandardStream::ReadInt64()
{
    return static_cast<std::int64_t>(ReadLittleEndian(8));
}
std::int32_t CStandardStream::WriteUInt8(std::uint8_t value)
{
    return WriteLittleEndian(value, 1);
}
std::uint8_t CStandardStream::ReadUInt8()
{
    return static_cast<std::uint8_t>(ReadLittleEndian(1));
}
std::int32_t CStandardStream::WriteUInt16(std::uint16_t value)
{
    return WriteLittleEndian(value, 2);
}
std::uint16_t CStandardStream::ReadUInt16()
{
    return static_cast<std::uint16_t>(ReadLittleEndian(2));
}
std::int32_t CStandardStream::WriteUInt32(std::uint32_t value)
{
    return WriteLittleEndian(value, 4);
}
std::uint32_t CStandardStream::ReadUInt32()
{
    return static_cast<std::uint32_t>(ReadLittleEndian(4));
}
std::int32_t CStandardStream::WriteUInt64(std::uint64_t value)
{
    return WriteLittleEndian(value, 8);
}
std::uint64_t CStandardStream::ReadUInt64()
{
    return ReadLittleEndian(8);
}

std::int32_t CStandardStream::WriteFloat(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return WriteLittleEndian(bits, 4);
}

float CStandardStream::ReadFloat()
{
    const std::uint32_t bits = static_cast<std::uint32_t>(ReadLittleEndian(4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::int32_t CStandardStream::WriteDouble(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return WriteLittleEndian(bits, 8);
}

double CStandardStream::ReadDouble()
{
    const std::uint64_t bits = ReadLittleEndian(8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace korvane
