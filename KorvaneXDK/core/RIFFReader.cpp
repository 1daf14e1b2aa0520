/** @file RIFFReader.cpp Indexes the chunks of a RIFF file and reads them by four-character code. */
#include "KorvaneXDK/core/RIFFReader.h"

#include <algorithm>
#include <array>
#include <climits>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/system/ByteReader.h"

namespace korvane
{

namespace
{

constexpr std::uint32_t kRiff = MakeFourCC("RIFF");

/// The next N little-endian words of the stream (codes and sizes); what it does not hold reads as zero.
template <std::size_t N>
std::array<std::uint32_t, N> ReadWords(IKorvaneStream& stream)
{
    std::uint8_t bytes[4 * N] = {};
    stream.Read(bytes, sizeof bytes);
    const os::system::ByteReader fields(bytes, sizeof bytes);
    std::array<std::uint32_t, N> words{};
    for (std::size_t i = 0; i < N; ++i)
        words[i] = fields.U32At(4 * i);
    return words;
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
    const auto [fileId, riffSize, formType] = ReadWords<3>(*stream);
    // Big-endian "RIFX" files are refused too: every reader above this one reads little-endian fields.
    if (fileId != kRiff)
        throw EInvalidFileFormat(this, "file format error: not RIFF header.");
    const std::int64_t streamSize = stream->GetSize();
    end_ = std::min<std::int64_t>(static_cast<std::int64_t>(riffSize) + 8, streamSize);
    formType_ = formType;

    // Each step moves forward by at least a header, so a corrupt size can never make the
    // walk go back or stand still; a header cut short by the end is not indexed.
    std::int64_t position = 12;
    while (end_ - position >= 8) {
        if (stream->Seek(static_cast<std::int32_t>(position)) != position)
            break;
        const auto [id, size] = ReadWords<2>(*stream);
        const std::int64_t data = position + 8;
        const std::int64_t present = std::min<std::int64_t>(size, streamSize - data);
        index_[id] =
            ChunkEntry{static_cast<std::int32_t>(data), static_cast<std::int32_t>(std::max<std::int64_t>(present, 0))};
        position = data + size;
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
