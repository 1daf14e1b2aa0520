/** @file PreferenceChunk.h One chunk of "preference.dat" copied into memory and read with bounds. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/MemoryStream.h"

namespace korvane
{
class CRIFFReader;
} // namespace korvane

/// Every read checks what is left of the chunk first: a length, count or field that runs past
/// the chunk's end throws EReadError naming the owner, before anything is allocated for it.
class CPreferenceChunk
{
public:
    /// Copies chunk `id` of the reader; a missing chunk throws the reader's EReadError.
    /// `context` starts the messages of the errors ("loadKeyMapping").
    CPreferenceChunk(korvane::CRIFFReader& reader, std::uint32_t id, const korvane::CObject* owner,
                     const std::string& context);

    std::string ReadString();
    std::int32_t ReadInt32();
    std::uint32_t ReadUInt32();
    std::uint8_t ReadUInt8();
    /// Throws unless `count` items of at least `itemSize` bytes each fit in what is left.
    void RequireRoom(std::int64_t count, std::int64_t itemSize, const char* what);
    std::int64_t GetRemaining() const;

private:
    [[noreturn]] void Fail(const std::string& problem) const;
    void Require(std::int64_t bytes);

    korvane::CMemoryStream data_;
    std::uint32_t id_;
    const korvane::CObject* owner_;
    std::string context_;
};
