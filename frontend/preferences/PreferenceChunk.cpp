/** @file PreferenceChunk.cpp One chunk of "preference.dat" copied into memory and read with bounds. */
#include "frontend/preferences/PreferenceChunk.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/RIFFReader.h"

CPreferenceChunk::CPreferenceChunk(korvane::CRIFFReader& reader, std::uint32_t id, const korvane::CObject* owner,
                                   const std::string& context)
    : id_(id), owner_(owner), context_(context)
{
    reader.FindChunk(id);
    // The reader's chunk size never exceeds the bytes the file really holds.
    const std::int32_t size = reader.GetChunkSize();
    data_.SetSize(size);
    if (data_.GetSize() != size)
        Fail("out of memory");
    const std::int32_t got = size > 0 ? reader.Read(data_.GetBuffer(), size) : 0;
    data_.SetSize(got);
    data_.Seek(0);
}

void CPreferenceChunk::Fail(const std::string& problem) const
{
    const char name[5] = {static_cast<char>(id_ & 0xFF), static_cast<char>((id_ >> 8) & 0xFF),
                          static_cast<char>((id_ >> 16) & 0xFF), static_cast<char>((id_ >> 24) & 0xFF), 0};
    throw korvane::EReadError(owner_, context_ + ": " + problem + " in chunk \"" + std::string(name, 4) + "\"");
}

std::int64_t CPreferenceChunk::GetRemaining() const
{
    return static_cast<std::int64_t>(data_.GetSize()) - data_.GetPosition();
}

void CPreferenceChunk::Require(std::int64_t bytes)
{
    if (GetRemaining() < bytes)
        Fail("unexpected end of data");
}

void CPreferenceChunk::RequireRoom(std::int64_t count, std::int64_t itemSize, const char* what)
{
    if (count > 0 && count > GetRemaining() / itemSize)
        Fail(std::string(what) + " exceeds the data");
}

std::string CPreferenceChunk::ReadString()
{
    const std::int32_t length = ReadInt32();
    if (length < 0 || length > GetRemaining())
        Fail("invalid string length");
    std::string text(static_cast<std::size_t>(length), '\0');
    if (length > 0)
        data_.Read(text.data(), length);
    // The engine's strings end at their first zero byte.
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos)
        text.resize(zero);
    return text;
}

std::int32_t CPreferenceChunk::ReadInt32()
{
    Require(4);
    return data_.ReadInt32();
}

std::uint32_t CPreferenceChunk::ReadUInt32()
{
    Require(4);
    return data_.ReadUInt32();
}

std::uint8_t CPreferenceChunk::ReadUInt8()
{
    Require(1);
    return data_.ReadUInt8();
}
