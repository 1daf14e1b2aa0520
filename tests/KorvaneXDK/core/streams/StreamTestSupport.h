/** @file StreamTestSupport.h Helpers shared by the stream tests: byte strings and odd streams. */
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace korvane::test
{

/// Several results compared at once (a braced list evaluates its calls in order).
using Ints = std::vector<std::int32_t>;

/// A memory stream holding the given bytes, positioned at 0.
inline CMemoryStream MakeMemory(const std::string& bytes)
{
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(0);
    return stream;
}

/// The whole content of a memory stream.
inline std::string Contents(const CMemoryStream& stream)
{
    if (stream.GetSize() == 0)
        return std::string();
    return std::string(reinterpret_cast<const char*>(stream.GetBuffer()), static_cast<std::size_t>(stream.GetSize()));
}

/// What one read of up to `count` bytes delivers.
inline std::string ReadText(IKorvaneStream& stream, std::int32_t count)
{
    std::string bytes(static_cast<std::size_t>(count), '\0');
    bytes.resize(static_cast<std::size_t>(std::max(0, stream.Read(bytes.data(), count))));
    return bytes;
}

inline std::string Le32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

/// How many entries a folder holds (leftover temporary files show up here).
inline std::ptrdiff_t EntryCount(const std::string& folder)
{
    return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
}

/// A memory stream whose reads deliver at most `limit` bytes each and, once `failAfter`
/// bytes have been read, throw like a failing file.
class StingyStream : public CMemoryStream
{
public:
    explicit StingyStream(const std::string& bytes, std::int32_t limit, std::int32_t failAfter = INT32_MAX)
        : limit_(limit), failAfter_(failAfter)
    {
        Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        Seek(0);
    }
    std::int32_t Read(void* buffer, std::int32_t count) override
    {
        if (delivered_ >= failAfter_)
            throw EReadError(this, "Failed to read from file stream - 'stingy'");
        const std::int32_t got = CMemoryStream::Read(buffer, std::min(count, limit_));
        delivered_ += got;
        return got;
    }
    /// From now on, fails once `bytes` more bytes have been delivered.
    void FailAfter(std::int32_t bytes) { failAfter_ = delivered_ + bytes; }

private:
    std::int32_t limit_;
    std::int32_t failAfter_;
    std::int32_t delivered_ = 0;
};

} // namespace korvane::test
