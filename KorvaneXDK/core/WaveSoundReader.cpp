/** @file WaveSoundReader.cpp Reads the PCM data of RIFF WAVE files. */
#include "KorvaneXDK/core/WaveSoundReader.h"

#include <algorithm>

#include "KorvaneXDK/core/Exception.h"
#include "os/system/ByteReader.h"

namespace korvane
{

namespace
{

constexpr std::int32_t kFormatRecordSize = 18;
constexpr std::int32_t kLargestFormatBlock = kFormatRecordSize + 0xFFFF;

} // namespace

CWaveSoundReader::CWaveSoundReader() = default;

CWaveSoundReader::~CWaveSoundReader() = default;

void CWaveSoundReader::Open(IKorvaneStream* stream)
{
    format_ = os::audio::WaveFormatEx{};
    formatExtra_.clear();
    totalBytes_ = position_ = 0;
    stream_ = stream;

    riff_.Open(stream);
    if (riff_.GetFormType() != MakeFourCC("WAVE"))
        throw EInvalidFileFormat(this, "ファイルフォーマットエラー: WAVEファイルではありません.");

    riff_.FindChunk(MakeFourCC("fmt "));
    // The chunk size is already bounded by the bytes present, so a short file cannot
    // pass a long format block; the bounds below keep the block to what a record can be.
    const std::int32_t size = riff_.GetChunkSize();
    if (size < 16 || size > kLargestFormatBlock)
        throw EInvalidFileFormat(this, "file format error: invalid WAVE format chunk.");
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::max(size, kFormatRecordSize)), 0);
    if (riff_.Read(block.data(), size) != size)
        throw EInvalidFileFormat(this, "file format error: invalid WAVE format chunk.");

    os::system::ByteReader record(block.data(), block.size());
    format_.formatTag = record.ReadU16();
    format_.channels = record.ReadU16();
    format_.samplesPerSec = record.ReadU32();
    format_.avgBytesPerSec = record.ReadU32();
    format_.blockAlign = record.ReadU16();
    format_.bitsPerSample = record.ReadU16();
    // Extra format bytes never reach past the block that holds them.
    const std::int32_t extraPresent = std::max(size - kFormatRecordSize, 0);
    format_.cbSize = static_cast<std::uint16_t>(std::min<std::int32_t>(record.ReadU16(), extraPresent));
    formatExtra_.assign(block.begin() + kFormatRecordSize, block.begin() + kFormatRecordSize + format_.cbSize);
    if (format_.blockAlign < 1 || format_.channels < 1)
        throw EInvalidFileFormat(this, "file format error: invalid WAVE format chunk.");

    Rewind();
}

std::int32_t CWaveSoundReader::Rewind()
{
    riff_.FindChunk(MakeFourCC("data"));
    totalBytes_ = riff_.GetChunkSize();
    position_ = 0;
    return 0;
}

std::int32_t CWaveSoundReader::Read(void* buffer, std::int32_t bytes)
{
    if (bytes < 1 || stream_ == nullptr)
        return 0;
    const std::int32_t got = riff_.Read(buffer, bytes);
    position_ += got;
    return got;
}

std::string CWaveSoundReader::GetComment(const std::string&) const
{
    return std::string();
}

} // namespace korvane
