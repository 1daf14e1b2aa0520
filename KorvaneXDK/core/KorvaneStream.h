/** @file KorvaneStream.h The byte-stream interface every file, archive entry and buffer is read through. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// A seekable byte stream. Sizes, counts and positions are signed 32-bit byte counts;
/// a count below 1 reads, writes or copies nothing. Typed values and strings are stored
/// little-endian: a string is an int32 byte count followed by the bytes (no terminator).
/// Reaching the end of the data is not an error: Read returns fewer bytes and a typed
/// read past the end yields its missing bytes as zero.
class IKorvaneStream : public IInterface
{
public:
    ~IKorvaneStream() override = default;

    /// Copies `size` bytes from the source's position to this stream's position.
    /// A size of 0 copies the whole source from its start; a negative size copies nothing.
    /// Returns the number of bytes actually copied.
    virtual std::int32_t CopyFrom(IKorvaneStream& source, std::int32_t size) = 0;
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    /// Throws EReadError when the stored length is negative or exceeds what remains.
    virtual void ReadString(std::string& out) = 0;
    virtual std::int32_t WriteString(const std::string& text) = 0;

    virtual std::int32_t WriteInt8(std::int8_t value) = 0;
    virtual std::int8_t ReadInt8() = 0;
    virtual std::int32_t WriteInt16(std::int16_t value) = 0;
    virtual std::int16_t ReadInt16() = 0;
    virtual std::int32_t WriteInt32(std::int32_t value) = 0;
    virtual std::int32_t ReadInt32() = 0;
    virtual std::int32_t WriteInt64(std::int64_t value) = 0;
    virtual std::int64_t ReadInt64() = 0;
    virtual std::int32_t WriteUInt8(std::uint8_t value) = 0;
    virtual std::uint8_t ReadUInt8() = 0;
    virtual std::int32_t WriteUInt16(std::uint16_t value) = 0;
    virtual std::uint16_t ReadUInt16() = 0;
    virtual std::int32_t WriteUInt32(std::uint32_t value) = 0;
    virtual std::uint32_t ReadUInt32() = 0;
    virtual std::int32_t WriteUInt64(std::uint64_t value) = 0;
    virtual std::uint64_t ReadUInt64() = 0;
    virtual std::int32_t WriteFloat(float value) = 0;
    virtual float ReadFloat() = 0;
    virtual std::int32_t WriteDouble(double value) = 0;
    virtual double ReadDouble() = 0;

    virtual std::int32_t GetSize() const = 0;
    virtual void SetSize(std::int32_t size) = 0;
    /// Moves the position (each stream clamps as it documents) and returns the new position.
    virtual std::int32_t Seek(std::int32_t position) = 0;
    virtual std::int32_t GetPosition() const = 0;
    /// A new stream of the same class over the same data, at the same position; owned by the caller.
    virtual IKorvaneStream* Clone() const = 0;
};

} // namespace korvane
