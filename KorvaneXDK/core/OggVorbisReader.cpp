/** @file OggVorbisReader.cpp Decodes Ogg Vorbis streams to 16-bit PCM with libvorbisfile. */
#include "KorvaneXDK/core/OggVorbisReader.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "OggVorbisReader";

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
    try {
        const std::int32_t got = static_cast<IKorvaneStream*>(source)->Read(buffer, static_cast<std::int32_t>(wanted));
        return got > 0 ? static_cast<std::size_t>(got) / size : 0;
    } catch (const EException& error) {
        LogErrorAt(error.GetMessage(), kSourceFile, __LINE__);
    } catch (...) {
    }
    errno = EIO;
    return 0;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence)
{
    auto* stream = static_cast<IKorvaneStream*>(source);
    const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(offset & 0xFFFFFFFF));
    try {
        std::int64_t target = 0;
        switch (whence) {
        case SEEK_SET:
            target = low;
            break;
        case SEEK_CUR:
            target = static_cast<std::int64_t>(stream->GetPosition()) + low;
            break;
        case SEEK_END:
            target = static_cast<std::int64_t>(stream->GetSize()) + low;
            break;
        default:
            target = 0;
            break;
        }
        stream->Seek(static_cast<std::int32_t>(std::clamp<std::int64_t>(target, INT32_MIN, INT32_MAX)));
        return 0;
    } catch (...) {
        return -1;
    }
}

int CloseCallback(void*)
{
    return 0; // the stream belongs to the caller or the shared pointer
}

long TellCallback(void* source)
{
    try {
        return static_cast<IKorvaneStream*>(source)->GetPosition();
    } catch (...) {
        return -1;
    }
}

// ---- the check of a link's codebooks ---------------------------------------------------
//
// libvorbis builds a link's decoding tables only when the first audio packet arrives. If a
// codebook's codeword lengths do not describe a complete prefix code, building fails half
// way and leaves zeroed tables behind, which the next attempt takes as built: residue
// decoding then divides by their dimension of 0 (and floor 0 loops for ever). A book with a
// value mapping but no dimensions either loops for ever while its values are computed or
// divides by zero in residue type 0. Both are refused before any audio packet is decoded.

// The setup header's fields, least significant bit first as the Vorbis bit packer writes them.
struct HeaderBits
{
    const unsigned char* data;
    std::uint64_t size;   ///< in bits
    std::uint64_t at = 0; ///< in bits

    /// The next `count` bits (at most 32), or -1 past the end (and from then on).
    std::int64_t Read(int count)
    {
        if (count == 0)
            return 0;
        if (size - at < static_cast<std::uint64_t>(count)) {
            at = size;
            return -1;
        }
        std::uint64_t value = 0;
        for (int done = 0; done < count;) {
            const auto shift = static_cast<int>(at & 7);
            const int take = std::min(8 - shift, count - done);
            value |= static_cast<std::uint64_t>((data[at >> 3] >> shift) & ((1u << take) - 1)) << done;
            done += take;
            at += static_cast<std::uint64_t>(take);
        }
        return static_cast<std::int64_t>(value);
    }
    std::uint64_t Left() const { return size - at; }
};

int BitCount(std::int64_t value)
{
    int bits = 0;
    for (; value > 0; value >>= 1)
        ++bits;
    return bits;
}

// The largest v with v^dimensions <= entries: the value count of a lattice (type 1) map.
std::int64_t LatticeValues(std::int64_t entries, std::int64_t dimensions)
{
    if (entries < 1 || dimensions < 1)
        return 0;
    const auto fits = [&](std::int64_t value) {
        std::int64_t product = 1;
        for (std::int64_t i = 0; i < dimensions; ++i) {
            if (product > entries / value)
                return false;
            product *= value;
        }
        return true;
    };
    auto value = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::floor(std::pow(
                                               static_cast<double>(entries), 1.0 / static_cast<double>(dimensions)))));
    while (value > 1 && !fits(value))
        --value;
    while (fits(value + 1))
        ++value;
    return value;
}

enum class Codebooks
{
    Safe,
    Unsafe,
    Malformed
};

// Walks the codebooks at the head of a setup header, reading them as libvorbis does.
Codebooks CheckCodebooks(const unsigned char* packet, std::size_t size)
{
    if (size < 7 || packet[0] != 5 || std::memcmp(packet + 1, "vorbis", 6) != 0)
        return Codebooks::Malformed;
    HeaderBits bits{packet + 7, static_cast<std::uint64_t>(size - 7) * 8};
    const std::int64_t books = bits.Read(8) + 1;
    for (std::int64_t book = 0; book < books; ++book) {
        if (bits.Read(24) != 0x564342)
            return Codebooks::Malformed;
        const std::int64_t dimensions = bits.Read(16);
        const std::int64_t entries = bits.Read(24);
        if (entries < 0 || BitCount(dimensions) + BitCount(entries) > 24)
            return Codebooks::Malformed;

        // Kraft's sum of the used codewords in units of 2^-32: exactly 2^32 for a complete code.
        std::uint64_t used = 0;
        std::uint64_t sum = 0;
        std::int64_t onlyLength = 0;
        const std::int64_t ordered = bits.Read(1);
        if (ordered == 0) {
            const std::int64_t sparse = bits.Read(1);
            if (sparse < 0 || static_cast<std::uint64_t>(entries) * (sparse ? 1 : 5) > bits.Left())
                return Codebooks::Malformed;
            for (std::int64_t i = 0; i < entries; ++i) {
                if (sparse && bits.Read(1) == 0)
                    continue;
                const std::int64_t length = bits.Read(5) + 1;
                if (length == 0)
                    return Codebooks::Malformed;
                ++used;
                onlyLength = length;
                sum += std::uint64_t{1} << (32 - length);
            }
        } else if (ordered == 1) {
            std::int64_t length = bits.Read(5) + 1;
            if (length == 0)
                return Codebooks::Malformed;
            for (std::int64_t i = 0; i < entries; ++length) {
                const std::int64_t run = bits.Read(BitCount(entries - i));
                if (run < 0 || length > 32 || run > entries - i || (run > 0 && ((run - 1) >> (length - 1)) > 1))
                    return Codebooks::Malformed;
                if (run > 0) {
                    used += static_cast<std::uint64_t>(run);
                    onlyLength = length;
                    sum += static_cast<std::uint64_t>(run) << (32 - length);
                }
                i += run;
            }
        } else
            return Codebooks::Malformed;

        const std::int64_t mapping = bits.Read(4);
        if (mapping == 1 || mapping == 2) {
            bits.Read(32);
            bits.Read(32);
            const std::int64_t valueBits = bits.Read(4) + 1;
            if (bits.Read(1) < 0)
                return Codebooks::Malformed;
            const std::int64_t values = mapping == 1 ? LatticeValues(entries, dimensions) : entries * dimensions;
            if (static_cast<std::uint64_t>(values) * static_cast<std::uint64_t>(valueBits) > bits.Left())
                return Codebooks::Malformed;
            bits.at += static_cast<std::uint64_t>(values * valueBits);
        } else if (mapping != 0)
            return Codebooks::Malformed;

        // A single codeword of one bit is the one incomplete code the decoder accepts.
        const bool complete = used == 0 || (used == 1 && onlyLength == 1) || sum == (std::uint64_t{1} << 32);
        if (!complete || (dimensions == 0 && mapping != 0 && used > 0))
            return Codebooks::Unsafe;
    }
    return Codebooks::Safe;
}

// libogg's page and packet assemblers, released however the check ends.
struct OggAssembly
{
    ogg_sync_state sync;
    ogg_stream_state packets;

    explicit OggAssembly(long serial)
    {
        ogg_sync_init(&sync);
        ogg_stream_init(&packets, static_cast<int>(serial));
    }
    ~OggAssembly()
    {
        ogg_stream_clear(&packets);
        ogg_sync_clear(&sync);
    }
    OggAssembly(const OggAssembly&) = delete;
    OggAssembly& operator=(const OggAssembly&) = delete;
};

// Reads the pages of one link's headers where libvorbisfile found them and checks the
// codebooks of its Vorbis stream. Reads only [begin, end): the headers, never the audio.
bool LinkIsSafe(IKorvaneStream& stream, ogg_int64_t begin, ogg_int64_t end, long serial)
{
    if (begin < 0 || end <= begin || end > stream.GetSize())
        return false;
    OggAssembly ogg(serial);
    stream.Seek(static_cast<std::int32_t>(begin));
    auto left = static_cast<std::int32_t>(end - begin);
    int headers = 0;
    while (true) {
        ogg_page page;
        const int found = ogg_sync_pageout(&ogg.sync, &page);
        if (found == 1) {
            if (ogg_page_serialno(&page) != static_cast<int>(serial) || ogg_stream_pagein(&ogg.packets, &page) != 0)
                continue;
            ogg_packet packet;
            while (ogg_stream_packetout(&ogg.packets, &packet) == 1)
                if (++headers == 3)
                    return CheckCodebooks(packet.packet, static_cast<std::size_t>(packet.bytes)) == Codebooks::Safe;
            continue;
        }
        if (found < 0)
            continue;
        if (left <= 0)
            return false;
        const std::int32_t chunk = std::min<std::int32_t>(left, 4096);
        char* buffer = ogg_sync_buffer(&ogg.sync, chunk);
        const std::int32_t got = buffer == nullptr ? 0 : stream.Read(buffer, chunk);
        if (got <= 0)
            return false;
        ogg_sync_wrote(&ogg.sync, got);
        left -= got;
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
    if (opened_) {
        ov_clear(&decoder_->file);
        opened_ = false;
    }
}

void COggVorbisReader::FailOpen()
{
    CloseDecoder();
    throw EFileOpenError(this, "OggVorbisファイルのオープンに失敗しました.");
}

void COggVorbisReader::Open(IKorvaneStream* stream)
{
    CloseDecoder();
    format_ = os::audio::WaveFormatEx{};
    totalBytes_ = position_ = 0;
    links_ = 0;
    ended_ = false;
    comments_.Clear();
    stream_ = stream;
    if (stream == nullptr)
        throw EInvalidParameter(this, "Ogg Vorbis reader opened without a stream");
    if (!decoder_)
        decoder_ = std::make_unique<Decoder>();

    stream->Seek(0);
    const ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    if (ov_open_callbacks(stream, &decoder_->file, nullptr, 0, callbacks) < 0)
        FailOpen();
    opened_ = true;
    OggVorbis_File& file = decoder_->file;

    // The decoder has found every link and read its headers, and decodes nothing before
    // the first Read or Rewind: the links are checked now. A stream the decoder cannot seek
    // would show its later links only while playing, unchecked, so it is refused.
    if (!ov_seekable(&file))
        FailOpen();
    const long links = ov_streams(&file);
    bool safe = true;
    try {
        const std::int32_t resume = stream->GetPosition();
        for (long link = 0; link < links && safe; ++link)
            safe = LinkIsSafe(*stream, file.offsets[link], file.dataoffsets[link], file.serialnos[link]);
        stream->Seek(resume);
    } catch (...) {
        CloseDecoder();
        throw;
    }
    if (!safe)
        FailOpen();

    const vorbis_info* info = ov_info(&file, 0);
    if (info == nullptr || info->channels < 1 || info->channels > 255 || info->rate < 1 || info->rate > INT32_MAX)
        FailOpen();
    format_.formatTag = os::audio::kWaveFormatPcm;
    format_.channels = static_cast<std::uint16_t>(info->channels);
    format_.samplesPerSec = static_cast<std::uint32_t>(info->rate);
    format_.bitsPerSample = 16;
    format_.blockAlign = static_cast<std::uint16_t>(format_.channels * 2);
    format_.avgBytesPerSec = format_.blockAlign * format_.samplesPerSec;
    format_.cbSize = 0;

    // The sound is the leading links of the first link's format; its length is their sample
    // counts, which come from granule positions in the file and so are checked before
    // they become bytes. Music longer than a 32-bit byte count reports that count.
    const std::int64_t mostSamples = INT64_MAX / format_.blockAlign;
    std::int64_t samples = 0;
    for (long link = 0; link < links; ++link) {
        const vorbis_info* next = ov_info(&file, static_cast<int>(link));
        if (next == nullptr || next->channels != info->channels || next->rate != info->rate)
            break;
        const ogg_int64_t count = ov_pcm_total(&file, static_cast<int>(link));
        if (count < 0 || count > mostSamples - samples)
            FailOpen();
        samples += count;
        ++links_;
    }
    totalBytes_ = static_cast<std::int32_t>(std::min<std::int64_t>(samples * format_.blockAlign, INT32_MAX));
    // After finding the links of a chain the decoder can stand past the first link when
    // that link's audio is a single page, and would start with the second: start at 0.
    if (links > 1 && ov_pcm_seek(&file, 0) != 0)
        FailOpen();

    if (const vorbis_comment* comment = ov_comment(&file, 0)) {
        std::vector<std::string> lines;
        for (int i = 0; i < comment->comments; ++i) {
            if (comment->user_comments[i] == nullptr || comment->comment_lengths[i] < 0)
                continue;
            lines.push_back(Utf8ToMultiByte(
                std::string(comment->user_comments[i], static_cast<std::size_t>(comment->comment_lengths[i]))));
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
    ended_ = false;
    return result;
}

std::int32_t COggVorbisReader::Read(void* buffer, std::int32_t bytes)
{
    if (!opened_ || ended_ || bytes < 1)
        return 0;
    // The decoder refuses requests smaller than one frame, so ask only for whole frames.
    // Granule positions can claim fewer samples than the pages hold; the total is kept.
    const std::int32_t frame = format_.blockAlign;
    std::int32_t wanted = bytes - bytes % frame;
    if (totalBytes_ < INT32_MAX)
        wanted = std::min(wanted, totalBytes_ - std::min(position_, totalBytes_));
    auto* out = static_cast<char*>(buffer);
    std::int32_t total = 0;
    int holes = 0;
    while (wanted - total >= frame) {
        int link = 0;
        const long got = ov_read(&decoder_->file, out + total, wanted - total, 0, 2, 1, &link);
        if (got > 0 && link >= links_) {
            // One call returns samples of one link only: these are in another format.
            ended_ = true;
            break;
        }
        if (got > 0) {
            total += static_cast<std::int32_t>(got);
            holes = 0;
        } else if (got == OV_HOLE && ++holes <= kMostHolesInARow)
            continue;
        else
            break;
    }
    // Music that is never rewound can outlast a 32-bit byte count; the position stops there.
    position_ =
        static_cast<std::int32_t>(std::min<std::int64_t>(static_cast<std::int64_t>(position_) + total, INT32_MAX));
    return total;
}

std::string COggVorbisReader::GetComment(const std::string& key) const
{
    return comments_.Get(key, std::string());
}

} // namespace korvane
