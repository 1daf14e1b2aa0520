/** @file SoundReaderTest.cpp WAVE and Ogg Vorbis decoding of sounds the tests make themselves. */
#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <boost/make_shared.hpp>
#include <cmath>
#include <cstring>

#include "KorvaneXDK/core/OggVorbisReader.h"
#include "KorvaneXDK/core/WaveSoundReader.h"
#include "StreamTestSupport.h"
#include "support/AudioTestData.h"

using namespace korvane;
using namespace korvane::test;

namespace
{

std::string FormatChunk(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, std::int32_t size = 16,
                        std::uint16_t cbSize = 0)
{
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    // Tag 1 (PCM) and the channels, the rates, the block alignment and the bits, then cbSize.
    std::string body = Le32(1u | channels << 16) + Le32(rate) + Le32(rate * align) + Le32(align | bits << 16u);
    if (size >= 18)
        body += Le32(cbSize).substr(0, 2);
    body.resize(static_cast<std::size_t>(size), '\x7F');
    return "fmt " + Le32(static_cast<std::uint32_t>(size)) + body;
}

std::string Wave(const std::string& chunks)
{
    return "RIFF" + Le32(static_cast<std::uint32_t>(4 + chunks.size())) + "WAVE" + chunks;
}

std::string ReadAll(ISoundReader& reader, std::int32_t piece = 4096)
{
    // A reader that never ends fails at the guard.
    std::string all, buffer(static_cast<std::size_t>(piece), '\0');
    std::int32_t guard = 0;
    for (std::int32_t got = 0; guard < 100000 && (got = reader.Read(buffer.data(), piece)) > 0; ++guard)
        all.append(buffer, 0, static_cast<std::size_t>(got));
    EXPECT_LT(guard, 100000) << "reader never reached its end";
    return all;
}

// Decodes with libvorbisfile alone, as the reference for the engine's reader.
std::string DecodeDirectly(const std::string& ogg)
{
    OggVorbis_File file;
    if (ov_open_callbacks(nullptr, &file, ogg.data(), static_cast<long>(ogg.size()), OV_CALLBACKS_NOCLOSE) < 0)
        return "open failed";
    std::string all;
    char buffer[4096];
    int bitstream = 0;
    for (long got; (got = ov_read(&file, buffer, sizeof buffer, 0, 2, 1, &bitstream)) != 0;)
        if (got > 0)
            all.append(buffer, static_cast<std::size_t>(got));
    ov_clear(&file);
    return all;
}

struct Tone
{
    std::string bytes; ///< the Ogg Vorbis file
    long frames = 0;
};

/// A sine tone (left `frequency` Hz, right twice that) with the given comments ("KEY=value").
Tone EncodeTone(int channels, long rate, long frames, double frequency, const std::vector<std::string>& comments = {},
                int serial = 1234)
{
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * static_cast<double>(i % channels + 1) *
                                                       static_cast<double>(i / channels) / static_cast<double>(rate)));
    return {EncodeOggVorbis(channels, rate, samples, 0.6f, comments, serial), frames};
}

// Sets the granule position of the file's last page, keeping its checksum valid.
std::string WithLastGranule(std::string ogg, std::int64_t granule)
{
    const std::size_t at = ogg.rfind("OggS");
    auto* page = reinterpret_cast<unsigned char*>(ogg.data() + at);
    for (int i = 0; i < 8; ++i)
        page[6 + i] = static_cast<unsigned char>(static_cast<std::uint64_t>(granule) >> (8 * i));
    const long header = 27 + page[26];
    ogg_page view{page, header, page + header, static_cast<long>(ogg.size() - at) - header};
    ogg_page_checksum_set(&view);
    return ogg;
}

// Files that once crashed or misled the reader, kept beside this source.
std::string HostileFile(const char* name)
{
    return TempDir::Read(KORVANE_SOURCE_DIR "/tests/KorvaneXDK/core/streams/data/" + std::string(name));
}

const Tone& StereoTone()
{
    static const Tone tone =
        EncodeTone(2, 44100, 44100, 441.0, {"TITLE=Stage One", "ARTIST=Test", "no equals sign", "Note=a=b"});
    return tone;
}

void ExpectPcmFormat(const os::audio::WaveFormatEx& f, int channels, int rate, int bytesPerSecond, int blockAlign)
{
    EXPECT_EQ((Ints{f.formatTag, f.channels, static_cast<std::int32_t>(f.samplesPerSec),
                    static_cast<std::int32_t>(f.avgBytesPerSec), f.blockAlign, f.bitsPerSample, f.cbSize}),
              (Ints{1, channels, rate, bytesPerSecond, blockAlign, 16, 0}));
}

} // namespace

TEST(SoundReaders, ChosenByLeadingBytesDecodeAsLibvorbisfileReadThroughWindowsAndRefuseOrBoundHostileInput)
{
    // The leading bytes are looked for at the stream's position, which is kept.
    CMemoryStream riff = MakeMemory(std::string(100, 'x') + Wave(FormatChunk(1, 8000, 8)));
    riff.Seek(100);
    std::unique_ptr<ISoundReader> reader(CreateSoundReader(&riff));
    EXPECT_NE(dynamic_cast<CWaveSoundReader*>(reader.get()), nullptr);
    EXPECT_EQ(riff.GetPosition(), 100);
    riff.Seek(0);
    EXPECT_THROW(reader.reset(CreateSoundReader(&riff)), EInvalidFileFormat);
    EXPECT_EQ(riff.GetPosition(), 0);
    CMemoryStream oggStart = MakeMemory("Ogg");
    reader.reset(CreateSoundReader(&oggStart));
    EXPECT_NE(dynamic_cast<COggVorbisReader*>(reader.get()), nullptr);
    ExpectThrowWith<EFileOpenError>([&] { reader->Open(&oggStart); }, "OggVorbisファイルのオープンに失敗しました.");
    CMemoryStream two = MakeMemory("Og");
    ExpectThrowWith<EInvalidFileFormat>([&] { reader.reset(CreateSoundReader(&two)); },
                                        "CreateSoundReader(): 対応していない音声フォーマットです.", "");
    // A wave file with an odd chunk before its data, read through a file stream.
    const std::string pcm = "\x01\x02\x03\x04\x05\x06\x07\x08";
    TempDir dir;
    CFileStream file(
        dir.Write("beep.wav", Wave(FormatChunk(2, 22050, 16) + "odd " + Le32(3) + "abc" + "data" + Le32(8) + pcm)), 1,
        1);
    reader.reset(CreateAndOpenSoundReader(&file));
    ExpectPcmFormat(*reader->GetFormat(), 2, 22050, 88200, 4);
    EXPECT_EQ(reader->GetComment("title"), "");
    char head[16];
    EXPECT_EQ((Ints{reader->GetTotalBytes(), reader->GetPosition(), reader->Read(head, 5), reader->Read(head + 5, 16),
                    reader->Read(head, 16), reader->GetPosition(), reader->Rewind(), reader->GetPosition()}),
              (Ints{8, 0, 5, 3, 0, 8, 0, 0}));
    EXPECT_EQ(std::string(head, 8) + ReadAll(*reader), pcm + pcm);

    // 20-byte chunk whose cbSize claims 100 extra bytes: only the 2 present are kept.
    CMemoryStream extra = MakeMemory(Wave(FormatChunk(1, 8000, 8, 20, 100) + "data" + Le32(2) + "ab"));
    CWaveSoundReader waveReader;
    waveReader.Open(&extra);
    EXPECT_EQ(std::pair(waveReader.GetFormat()->cbSize, waveReader.GetFormatExtra()),
              std::pair(std::uint16_t{2}, std::vector<std::uint8_t>{0x7F, 0x7F}));
    CMemoryStream exact = MakeMemory(Wave(FormatChunk(1, 8000, 8, 18, 0) + "data" + Le32(2) + "ab"));
    waveReader.Open(&exact);
    EXPECT_EQ(waveReader.GetFormat()->cbSize, 0);
    CMemoryStream notWave = MakeMemory("RIFF" + Le32(4) + "AVI ");
    ExpectThrowWith<EInvalidFileFormat>([&] { waveReader.Open(&notWave); },
                                        "ファイルフォーマットエラー: WAVEファイルではありません.");
    // The Ogg reader decodes exactly as libvorbisfile in any request size, rewinds, reads comments and ends on failure.
    const Tone& tone = StereoTone();
    const std::int32_t total = static_cast<std::int32_t>(4 * tone.frames);
    CFileStream stream(dir.Write("music.ogg", tone.bytes), 1, 1);
    COggVorbisReader ogg;
    ogg.Open(&stream);
    ExpectPcmFormat(*ogg.GetFormat(), 2, 44100, 176400, 4);
    EXPECT_EQ((std::vector<std::string>{ogg.GetComment("title"), ogg.GetComment("Artist"), ogg.GetComment("note"),
                                        ogg.GetComment("no equals sign")}),
              (std::vector<std::string>{"Stage One", "Test", "a=b", ""}));
    // Requests smaller than a frame return at once.
    char buffer[64], first[64];
    EXPECT_EQ((Ints{ogg.GetTotalBytes(), ogg.GetPosition(), ogg.Read(buffer, 3), ogg.Read(buffer, 0),
                    ogg.Read(buffer, -4), ogg.Read(buffer, 7), ogg.GetPosition(), ogg.Rewind(), ogg.Read(first, 64)}),
              (Ints{total, 0, 0, 0, 0, 4, 4, 0, 64}));
    // Odd-sized requests still yield whole frames, and every byte is what libvorbisfile decodes.
    EXPECT_EQ(std::string(first, 64) + ReadAll(ogg, 4099), DecodeDirectly(tone.bytes));
    EXPECT_EQ((Ints{ogg.Read(buffer, 64), ogg.GetPosition(), ogg.Rewind(), ogg.GetPosition(), ogg.Read(buffer, 64)}),
              (Ints{0, total, 0, 0, 64}));
    EXPECT_EQ(std::memcmp(first, buffer, 64), 0);

    // The stream fails for good after a while, as a vanished file would.
    const Tone longer = EncodeTone(2, 44100, 4 * 44100, 441.0);
    StingyStream failing(longer.bytes, INT32_MAX);
    ogg.Open(&failing);
    failing.FailAfter(4000);
    LogCapture log;
    EXPECT_LT(ReadAll(ogg).size(), static_cast<std::size_t>(4 * longer.frames));
    // Sounds packed inside a larger file are read through partition streams, whose
    // positions are relative to the window.
    const Tone mono = EncodeTone(1, 11025, 4000, 500.0);
    const std::string wave = Wave(FormatChunk(1, 8000, 8) + "data" + Le32(4) + "WXYZ");
    const std::string path =
        dir.Write("data.kva", std::string(333, 'h') + mono.bytes + std::string(77, 'g') + wave + "tail");
    // A mono tone, through a window the reader keeps alive, in odd-sized reads.
    COggVorbisReader windowed;
    windowed.Open(boost::make_shared<CFilePartitionStream>(path, 333, static_cast<std::int32_t>(mono.bytes.size())));
    ExpectPcmFormat(*windowed.GetFormat(), 1, 11025, 22050, 2);
    EXPECT_EQ(windowed.GetTotalBytes(), 8000);
    EXPECT_EQ(ReadAll(windowed, 333), DecodeDirectly(mono.bytes));
    CFilePartitionStream waveWindow(path, static_cast<std::int32_t>(333 + mono.bytes.size() + 77),
                                    static_cast<std::int32_t>(wave.size()));
    EXPECT_EQ(ReadAll(*std::unique_ptr<ISoundReader>(CreateAndOpenSoundReader(&waveWindow))), "WXYZ");
    // Hostile input: size fields past the end or negative, Ogg files that broke the decoder, chained links.
    const std::string fmt = FormatChunk(1, 8000, 8);
    // name, bytes, what an opened reader delivers (nullptr when opening fails)
    const std::tuple<const char*, std::string, const char*> cases[] = {
        {"fmt size negative", Wave("fmt " + Le32(0x80000000) + std::string(16, '\x01') + "data" + Le32(0)), nullptr},
        {"fmt too small", Wave("fmt " + Le32(8) + std::string(8, '\x01') + "data" + Le32(0)), nullptr},
        {"data negative", Wave(fmt + "data" + Le32(0xFFFFFFFF) + "ab"), "ab"},
        {"riff size short", "RIFF" + Le32(4 + 24) + "WAVE" + fmt + "data" + Le32(2) + "ab", nullptr},
        {"header only", "RIFF" + Le32(4) + "WAVE", nullptr},
        {"no data chunk", Wave(fmt), nullptr}, // the text: PreferenceHostileTest's "no \"head\""
        {"zero block align", Wave(FormatChunk(0, 8000, 8) + "data" + Le32(0)), nullptr},
    };
    for (const auto& [name, bytes, pcm] : cases) {
        SCOPED_TRACE(name);
        CMemoryStream stream = MakeMemory(bytes);
        std::string outcome = "refused"; // the total it promised, then what it delivered
        try {
            std::unique_ptr<ISoundReader> reader(CreateAndOpenSoundReader(&stream));
            outcome = std::to_string(reader->GetTotalBytes()) + ":" + ReadAll(*reader);
        } catch (const EException&) {
        }
        EXPECT_EQ(outcome, pcm ? std::to_string(std::strlen(pcm)) + ":" + pcm : "refused");
    }
    // Codebooks that libvorbis cannot build (and then divides by zero on), a lattice value map
    // over no dimensions (which libvorbis accepts and then never finishes building), a sample
    // count that overflows when turned into bytes: all refused by Open, not by a signal or a hang.
    for (const char* name : {"decoder-divides-by-zero-1.ogg", "decoder-divides-by-zero-2.ogg",
                             "lattice-map-without-dimensions.ogg", "huge-granule-position.ogg"}) {
        SCOPED_TRACE(name);
        CMemoryStream stream = MakeMemory(HostileFile(name));
        COggVorbisReader reader;
        ExpectThrowWith<EFileOpenError>([&] { reader.Open(&stream); }, "OggVorbisファイルのオープンに失敗しました.");
        char buffer[64];
        EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0);
    }
    // The last page's granule position gives the count (this tone spans several pages): a count
    // beyond 32 bits of bytes is music too long to count.
    const std::string& stereoBytes = StereoTone().bytes;
    COggVorbisReader counted;
    CMemoryStream longOne = MakeMemory(WithLastGranule(stereoBytes, std::int64_t{1} << 40));
    counted.Open(&longOne);
    EXPECT_EQ(counted.GetTotalBytes(), INT32_MAX);
    // A count below what the pages hold: the reader delivers no more than it promised.
    CMemoryStream shortOne = MakeMemory(WithLastGranule(stereoBytes, 1000));
    counted.Open(&shortOne);
    EXPECT_EQ((std::pair{counted.GetTotalBytes(), ReadAll(counted).size()}), std::pair(4000, std::size_t{4000}));
    // Chained links end where the format changes.
    const Tone stereoLink = EncodeTone(2, 22050, 5000, 300.0);
    const Tone monoLink = EncodeTone(1, 22050, 7000, 300.0);
    // name, bytes, channels, total bytes (-1: whatever the first link's count says)
    const std::tuple<const char*, std::string, int, std::int32_t> chains[] = {
        {"found stereo then mono", HostileFile("chained-stereo-then-mono.ogg"), 2, -1},
        {"mono then stereo", monoLink.bytes + EncodeTone(2, 22050, 5000, 300.0, {}, 78).bytes, 1, 2 * 7000},
        {"rate changes", stereoLink.bytes + EncodeTone(2, 11025, 3000, 300.0, {}, 79).bytes, 2, 4 * 5000},
        {"same format goes on",
         stereoLink.bytes + EncodeTone(2, 22050, 3000, 300.0, {}, 80).bytes +
             EncodeTone(2, 11025, 3000, 300.0, {}, 81).bytes,
         2, 4 * 8000},
    };
    for (const auto& [name, bytes, channels, total] : chains) {
        SCOPED_TRACE(name);
        CMemoryStream stream = MakeMemory(bytes);
        COggVorbisReader reader;
        reader.Open(&stream);
        EXPECT_EQ((std::pair<int, std::int32_t>(reader.GetFormat()->channels, reader.GetTotalBytes())),
                  std::pair(channels, total < 0 ? reader.GetTotalBytes() : total));
        for (int pass = 0; pass < 2; ++pass) { // whole frames, since the totals are
            const std::string pcm = ReadAll(reader, 1001);
            EXPECT_EQ((Ints{static_cast<std::int32_t>(pcm.size()), reader.GetPosition(), reader.Rewind()}),
                      (Ints{reader.GetTotalBytes(), reader.GetTotalBytes(), 0}));
        }
    }
}
