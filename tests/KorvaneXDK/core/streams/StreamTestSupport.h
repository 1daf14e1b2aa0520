/** @file StreamTestSupport.h Helpers shared by the stream tests: byte strings, expected errors, odd streams. */
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "support/LogCapture.h"

namespace korvane::test {

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

inline std::string Le32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

inline std::string Le16(std::uint16_t value)
{
    return std::string{static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

/// Runs `action` expecting an `E`; checks its message and sender class name where given.
template <class E, class Action>
void ExpectThrowWith(Action&& action, const std::string& message, const char* where = nullptr)
{
    try
    {
        action();
        ADD_FAILURE() << "nothing thrown; expected: " << message;
    }
    catch (const E& error)
    {
        EXPECT_EQ(error.GetMessage(), message);
        if (where)
        {
            EXPECT_EQ(error.GetWhere(), where);
        }
    }
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
    std::int32_t Read(void* buffer, std::int32_t count) override;
    /// From now on, fails once `bytes` more bytes have been delivered.
    void FailAfter(std::int32_t bytes) { failAfter_ = delivered_ + bytes; }

private:
    std::int32_t limit_;
    std::int32_t failAfter_;
    std::int32_t delivered_ = 0;
};

} // namespace korvane::test
