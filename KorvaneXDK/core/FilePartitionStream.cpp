/** @file FilePartitionStream.cpp A read-only window onto part of a file (an archive entry). */
#include "KorvaneXDK/core/FilePartitionStream.h"

#include <algorithm>

#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

CFilePartitionStream::CFilePartitionStream(const std::string& path, std::int32_t base, std::int32_t length)
    : CFileStream(path, 1, 1), base_(base), length_(length)
{
    if (base < 0 || length < 0)
        throw EInvalidParameter(this, "invalid file partition");
    RawSeek(base_);
}

CFilePartitionStream::CFilePartitionStream(const CFilePartitionStream& source)
    : CObject(source), CFileStream(source, ReopenTag{}), base_(source.base_), length_(source.length_)
{
    RawSeek(static_cast<std::int64_t>(base_) + source.GetPosition());
}

std::int32_t CFilePartitionStream::Read(void* buffer, std::int32_t count)
{
    count = std::min(count, length_ - GetPosition());
    if (count < 1)
        return 0;
    return RawRead(buffer, count);
}

std::int32_t CFilePartitionStream::Write(const void*, std::int32_t)
{
    throw EInvalidOperation(this, "Cannot write to CFilePartitionStream");
}

void CFilePartitionStream::SetSize(std::int32_t)
{
    throw EInvalidOperation(this, "Cannot write to CFilePartitionStream");
}

std::int32_t CFilePartitionStream::Seek(std::int32_t position)
{
    const std::int32_t inside = std::clamp(position, 0, length_);
    RawSeek(static_cast<std::int64_t>(base_) + inside);
    return GetPosition();
}

std::int32_t CFilePartitionStream::GetPosition() const
{
    const std::int64_t relative = RawTell() - base_;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(relative, 0, length_));
}

CFilePartitionStream* CFilePartitionStream::Clone() const
{
    return new CFilePartitionStream(*this);
}

} // namespace korvane
