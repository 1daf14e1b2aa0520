/** @file RIFFReader.cpp Indexes the chunks of a RIFF file and reads them by four-character code. */
#include "KorvaneXDK/core/RIFFReader.h"

#include <algorithm>
#include <climits>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace korvane
{

namespace
{

constexpr std::uint32_t kRiff = MakeFourCC("RIFF");

std::uint32_t ReadCode(IKorvaneStream& stream)
{
    std::uint8_t bytes[4] = {};
    stream.Read(bytes, 4);
    return MakeFourCC(static_cast<char>(bytes[0]), static_cast<char>(bytes[1]), static_cast<char>(bytes[2]),
                      static_cast<char>(bytes[3]));
}

std::uint32_t ReadSize(IKorvaneStream& stream)
{
    std::uint8_t b[4] = {};
    stream.Read(b, 4);
    return b[0] | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}

} // namespace

CRIFFReader::CRIFFReader() = default;

CRIFFReader::~CRIFFReader() = default;

void CRIFFReader::Open(boost::shared_ptr<IKorvaneStream> stream)
{
    sharedStream_ = stream;
    Open(stream.get());
}

void CRIFFReader::Open(IKorvaneStream* stream)
{
    stream_ = stream;
    index_.clear();
    chunkSize_ = chunkPosition_ = 0;
    formType_ = 0;
    if (stream == nullptr)
        throw EInvalidParameter(this, "RIFF reader opened without a stream");

    stream->Seek(0);
    const std::uint32_t fileId = ReadCode(*stream);
    // Big-endian "RIFX" files are refused too: every reader above this one reads little-endian fields.
    if (fileId != kRiff)
        throw EInvalidFileFormat(this, "file format error: not RIFF header.");
    const std::int64_t streamSize = stream->GetSize();
    end_ = std::min<std::int64_t>(static_cast<std::int64_t>(ReadSize(*stream)) + 8, streamSize);
    formType_ = ReadCode(*stream);

    // Each step moves forward by at least a header, so a corrupt size can never make the
    // walk go back or stand still; a header cut short by the end is not indexed.
    std::int64_t position = 12;
    while (end_ - position >= 8) {
        if (stream->Seek(static_cast<std::int32_t>(position)) != position)
            break;
        const std::uint32_t id = ReadCode(*stream);
        const std::uint32_t size = ReadSize(*stream);
        const std::int64_t data = position + 8;
        const std::int64_t present = std::min<std::int64_t>(size, streamSize - data);
        index_[id] =
            ChunkEntry{static_cast<std::int32_t>(data), static_cast<std::int32_t>(std::max<std::int64_t>(present, 0))};
        position = data + size;
        // Files from other writers pad odd chunks with a zero byte; a chunk id never starts with one.
        if ((size & 1) != 0 && end_ - position >= 9) {
            std::uint8_t pad = 0xFF;
            stream->Seek(static_cast<std::int32_t>(position));
            if (stream->Read(&pad, 1) == 1 && pad == 0)
                ++position;
        }
    }
}

void CRIFFReader::FindChunk(std::uint32_t id)
{
    const auto found = index_.find(id);
    if (found == index_.end() || stream_ == nullptr) {
        const char text[5] = {static_cast<char>(id & 0xFF), static_cast<char>((id >> 8) & 0xFF),
                              static_cast<char>((id >> 16) & 0xFF), static_cast<char>((id >> 24) & 0xFF), 0};
        throw EReadError(this, "chunk not found - \"" + std::string(text, 4) + "\"" + FormatString("(0x%08X)", id));
    }
    stream_->Seek(found->second.position);
    chunkSize_ = found->second.size;
    chunkPosition_ = 0;
}

std::int32_t CRIFFReader::Read(void* buffer, std::int32_t count)
{
    count = std::min(count, chunkSize_ - chunkPosition_);
    if (count < 1 || stream_ == nullptr)
        return 0;
    const std::int32_t got = stream_->Read(buffer, count);
    if (got > 0)
        chunkPosition_ += got;
    return std::max(got, 0);
}

} // namespace korvane
