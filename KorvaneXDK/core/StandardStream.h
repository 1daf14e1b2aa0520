/** @file StandardStream.h Copying, strings and typed values on top of a stream's raw Read and Write. */
#pragma once

#include "KorvaneXDK/core/KorvaneStream.h"

namespace korvane
{

/// Implements everything of IKorvaneStream except raw access, size, position and Clone.
class CStandardStream : public IKorvaneStream, public virtual CObject
{
public:
    /// Size of the block buffer CopyFrom moves data through.
    static constexpr std::int32_t kCopyBlockSize = 8192;

    std::int32_t CopyFrom(IKorvaneStream& source, std::int32_t size) override;
    void ReadString(std::string& out) override;
    std::int32_t WriteString(const std::string& text) override;

    std::int32_t WriteInt8(std::int8_t value) override;
    std::int8_t ReadInt8() override;
    std::int32_t WriteInt16(std::int16_t value) override;
    std::int16_t ReadInt16() override;
    std::int32_t WriteInt32(std::int32_t value) override;
    std::int32_t ReadInt32() override;
    std::int32_t WriteInt64(std::int64_t value) override;
    std::int64_t ReadInt64() override;
    std::int32_t WriteUInt8(std::uint8_t value) override;
    std::uint8_t ReadUInt8() override;
    std::int32_t WriteUInt16(std::uint16_t value) override;
    std::uint16_t ReadUInt16() override;
    std::int32_t WriteUInt32(std::uint32_t value) override;
    std::uint32_t ReadUInt32() override;
    std::int32_t WriteUInt64(std::uint64_t value) override;
    std::uint64_t ReadUInt64() override;
    std::int32_t WriteFloat(float value) override;
    float ReadFloat() override;
    std::int32_t WriteDouble(double value) override;
    double ReadDouble() override;

private:
    std::int32_t WriteLittleEndian(std::uint64_t value, int width);
    std::uint64_t ReadLittleEndian(int width);
};

} // namespace korvane
