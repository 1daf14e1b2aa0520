/** @file RIFFReader.h Indexes the chunks of a RIFF file and reads them by four-character code. */
#pragma once

#include <cstdint>
#include <map>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// A four-character code: the 32-bit value whose little-endian bytes are the characters
/// in reading order ("RIFF" is 0x46464952).
constexpr std::uint32_t MakeFourCC(char a, char b, char c, char d)
{
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24);
}
constexpr std::uint32_t MakeFourCC(const char (&text)[5])
{
    return MakeFourCC(text[0], text[1], text[2], text[3]);
}
/// A code that is already a 32-bit value comes back unchanged.
constexpr std::uint32_t MakeFourCC(std::uint32_t code)
{
    return code;
}

/// Reads "RIFF" files (little-endian sizes); big-endian "RIFX" files are refused. Chunks
/// follow each other without pad bytes, as the writer puts them: the header after an odd-sized
/// chunk is read from the byte right after its data. The walk always moves forward, stops when
/// fewer than 8 bytes remain, and bounds every chunk's size by the bytes the stream holds.
class CRIFFReader : public virtual CNonCopyable, public virtual CObject
{
public:
    CRIFFReader();
    ~CRIFFReader() override;

    /// Keeps the stream alive, then opens it.
    virtual void Open(boost::shared_ptr<IKorvaneStream> stream);
    /// Reads the header and indexes the chunks. The stream is not owned.
    /// Throws EInvalidFileFormat "file format error: not RIFF header." for other files, "RIFX" included.
    virtual void Open(IKorvaneStream* stream);
    virtual std::uint32_t GetFormType() const { return formType_; }
    /// Seeks to the chunk's data and makes it the current chunk; a later chunk with the
    /// same id hides an earlier one. Throws EReadError "chunk not found - ..." when absent.
    virtual void FindChunk(std::uint32_t id);
    /// The read position inside the current chunk (0 right after FindChunk).
    virtual std::int32_t GetChunkPosition() const { return chunkPosition_; }
    /// The current chunk's data size (0 before the first FindChunk).
    virtual std::int32_t GetChunkSize() const { return chunkSize_; }
    /// Reads from the current chunk, clamped to its end.
    virtual std::int32_t Read(void* buffer, std::int32_t count);

    bool HasChunk(std::uint32_t id) const { return index_.count(id) != 0; }

private:
    struct ChunkEntry
    {
        std::int32_t position;
        std::int32_t size;
    };

    IKorvaneStream* stream_ = nullptr;
    boost::shared_ptr<IKorvaneStream> sharedStream_;
    std::uint32_t formType_ = 0;
    std::int64_t end_ = 0;
    std::map<std::uint32_t, ChunkEntry> index_;
    std::int32_t chunkSize_ = 0;
    std::int32_t chunkPosition_ = 0;
};

} // namespace korvane
