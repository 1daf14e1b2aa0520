/** @file OggVorbisSoundReader.cpp Decodes Ogg Vorbis streams to 16-bit PCM with libvorbisfile. */
#include "KorvaneXDK/core/OggVorbisSoundReader.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace korvane {

namespace {

// Holes (lost or corrupt pages) are skipped, but a stream made of nothing else must
// not keep the feeder thread decoding for ever.
constexpr int kMostHolesInARow = 64;

// The callbacks run inside the C decoder, so no exception may leave them: a failing
// stream is reported the way the decoder expects (errno for reads, -1 for seeks).
std::size_t ReadCallback(void* buffer, std::size_t size, std::size_t count, void* source)
{
    if (size == 0 || count == 0)
        return 0;
    const std::size_t wanted = std::min<std::size_t>(size * count, INT32_MAX);
    try
    {
        const std::int32_t got = static_cast<IKorvaneStream*>(source)->Read(buffer, static_cast<std::int32_t>(wanted));
        return got > 0 ? static_cast<std::size_t>(got) / size : 0;
    }
    catch (const EException& error)
    {
        LogErrorAt(error.GetMessage(), __FILE__, __LINE__);
    }
    catch (...)
    {
    }
    errno = EIO;
    return 0;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence)
{
    auto* stream = static_cast<IKorvaneStream*>(source);
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset & 0xFFFFFFFF));
    try
    {
        std::int64_t target = 0;
        switch (whence)
        {
        case SEEK_SET: target = low; break;
        case SEEK_CUR: target = static_cast<std::int64_t>(stream->GetPosition()) + low; break;
        case SEEK_END: target = static_cast<std::int64_t>(stream->GetSize()) + low; break;
        default: target = 0; break;
        }
        stream->Seek(static_cast<std::int32_t>(std::clamp<std::int64_t>(target, INT32_MIN, INT32_MAX)));
        return 0;
    }
    catch (...)
    {
        return -1;
    }
}

int CloseCallback(void*)
{
    return 0;   // the stream belongs to the caller or the shared pointer
}

long TellCallback(void* source)
{
    try
    {
        return static_cast<IKorvaneStream*>(source)->GetPosition();
    }
    catch (...)
    {
        return -1;
    }
}

} // namespace

struct COggVorbisReader::Decoder
{
    OggVorbis_File file{};
};

COggVorbisReader::COggVorbisReader() = default;

COggVorbisReader::~COggVorbisReader()
{
    CloseDecoder();
}

void COggVorbisReader::CloseDecoder() noexcept
{
    if (opened_)
    {
        ov_clear(&decoder_->file);
        opened_ = false;
    }
}

void COggVorbisReader::Open(IKorvaneStream* stream)
{
    CloseDecoder();
    format_ = os::audio::WaveFormatEx{};
    totalBytes_ = position_ = 0;
    comments_.Clear();
    stream_ = stream;
    if (stream == nullptr)
        throw EInvalidParameter(this, "Ogg Vorbis reader opened without a stream");
    if (!decoder_)
        decoder_ = std::make_unique<Decoder>();

    stream->Seek(0);
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    if (ov_open_callbacks(stream, &decoder_->file, nullptr, 0, callbacks) < 0)
        throw EFileOpenError(this, "OggVorbisファイルのオープンに失敗しました.");
    opened_ = true;

    const vorbis_info* info = ov_info(&decoder_->file, -1);
    if (info == nullptr || info->channels < 1 || info->channels > 255 || info->rate < 1 || info->rate > INT32_MAX)
    {
        CloseDecoder();
        throw EFileOpenError(this, "OggVorbisファイルのオープンに失敗しました.");
    }
    format_.formatTag = os::audio::kWaveFormatPcm;
    format_.channels = static_cast<std::uint16_t>(info->channels);
    format_.samplesPerSec = static_cast<std::uint32_t>(info->rate);
    format_.bitsPerSample = 16;
    format_.blockAlign = static_cast<std::uint16_t>(format_.channels * 2);
    format_.avgBytesPerSec = format_.blockAlign * format_.samplesPerSec;
    format_.cbSize = 0;

    const ogg_int64_t samples = ov_pcm_total(&decoder_->file, -1);
    if (samples > 0)
        totalBytes_ = static_cast<std::int32_t>(std::min<ogg_int64_t>(samples * format_.blockAlign, INT32_MAX));

    if (const vorbis_comment* comment = ov_comment(&decoder_->file, -1))
    {
        std::vector<std::string> lines;
        for (int i = 0; i < comment->comments; ++i)
        {
            if (comment->user_comments[i] == nullptr || comment->comment_lengths[i] < 0)
                continue;
            lines.push_back(Utf8ToMultiByte(std::string(comment->user_comments[i],
                                                        static_cast<std::size_t>(comment->comment_lengths[i]))));
        }
        comments_.ParseLines(lines);
    }
}

std::int32_t COggVorbisReader::Rewind()
{
    if (!opened_ || !ov_seekable(&decoder_->file))
        return 0;
    const int result = ov_pcm_seek(&decoder_->file, 0);
    position_ = 0;
    return result;
}

std::int32_t COggVorbisReader::Read(void* buffer, std::int32_t bytes)
{
    if (!opened_ || bytes < 1)
        return 0;
    // The decoder refuses requests smaller than one frame, so ask only for whole frames.
    const std::int32_t frame = format_.blockAlign;
    const std::int32_t wanted = bytes - bytes % frame;
    auto* out = static_cast<char*>(buffer);
    std::int32_t total = 0;
    int holes = 0;
    while (wanted - total >= frame)
    {
        int bitstream = 0;
        const long got = ov_read(&decoder_->file, out + total, wanted - total, 0, 2, 1, &bitstream);
        if (got > 0)
        {
            total += static_cast<std::int32_t>(got);
            holes = 0;
        }
        else if (got == OV_HOLE && ++holes <= kMostHolesInARow)
            continue;
        else
            break;
    }
    // Music that is never rewound can outlast a 32-bit byte count; the position stops there.
    position_ = static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(position_) + total, INT32_MAX));
    return total;
}

std::string COggVorbisReader::GetComment(const std::string& key) const
{
    return comments_.Get(key, std::string());
}

} // namespace korvane
