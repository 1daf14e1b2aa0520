/** @file FilePartitionStream.h A read-only window onto part of a file (an archive entry). */
#pragma once

#include "KorvaneXDK/core/FileStream.h"

namespace korvane
{

/// The bytes [base, base + length) of a file, opened for reading (mode 1, share 1).
/// Positions and the size are relative to the window, and nothing outside it can be read:
/// Seek clamps to [0, length]. Write and SetSize throw EInvalidOperation.
class CFilePartitionStream : public CFileStream
{
public:
    /// Throws EFileOpenError when the file cannot be opened and EInvalidParameter for a
    /// negative base or length.
    CFilePartitionStream(const std::string& path, std::int32_t base, std::int32_t length);
    CFilePartitionStream(const CFilePartitionStream& source);
    CFilePartitionStream& operator=(const CFilePartitionStream&) = delete;

    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int32_t GetSize() const override { return length_; }
    void SetSize(std::int32_t size) override;
    std::int32_t Seek(std::int32_t position) override;
    std::int32_t GetPosition() const override;
    CFilePartitionStream* Clone() const override;

    std::int32_t GetBase() const { return base_; }

private:
    std::int32_t base_;
    std::int32_t length_;
};

} // namespace korvane
