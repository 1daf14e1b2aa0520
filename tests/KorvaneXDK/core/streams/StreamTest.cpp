/** @file StreamTest.cpp Memory, file and partition streams over real files; RIFF, property and sound files on them. */
#include <fcntl.h>
#include <ogg/ogg.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vorbis/vorbisfile.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/make_shared.hpp>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/OggVorbisReader.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/core/WaveSoundReader.h"
#include "support/AudioTestData.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace korvane;
using namespace korvane::test;
using ::testing::ElementsAre;
using ::testing::Pair;
using CaseSensitive = TProperties<std::less<std::string>>;
using CaseInsensitive = TProperties<comparator_for_properties::less_ignorecase>;

namespace
{
/// Several results compared at once (a braced list evaluates its calls in order).
using Ints = std::vector<std::int32_t>;

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

/// What one read of up to `count` bytes delivers.
inline std::string ReadText(IKorvaneStream& stream, std::int32_t count)
{
    std::string bytes(static_cast<std::size_t>(count), '\0');
    bytes.resize(static_cast<std::size_t>(std::max(0, stream.Read(bytes.data(), count))));
    return bytes;
}

inline std::string Le32(std::uint32_t value)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
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
    std::int32_t Read(void* buffer, std::int32_t count) override
    {
        if (delivered_ >= failAfter_)
            throw EReadError(this, "Failed to read from file stream - 'stingy'");
        const std::int32_t got = CMemoryStream::Read(buffer, std::min(count, limit_));
        delivered_ += got;
        return got;
    }
    /// From now on, fails once `bytes` more bytes have been delivered.
    void FailAfter(std::int32_t bytes) { failAfter_ = delivered_ + bytes; }

private:
    std::int32_t limit_;
    std::int32_t failAfter_;
    std::int32_t delivered_ = 0;
};

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

struct ExhaustedMemoryStream : CMemoryStream
{
    std::size_t limit = SIZE_MAX;
    std::vector<std::size_t> requests; ///< every size asked of the allocator, in order
    void* Reallocate(void* block, std::size_t bytes) override
    {
        requests.push_back(bytes);
        return bytes > limit ? nullptr : CMemoryStream::Reallocate(block, bytes);
    }
};

// Reads a chunk asking for more than it holds: every read stops at the chunk's end.
std::string ReadChunk(CRIFFReader& reader, const char (&id)[5])
{
    reader.FindChunk(MakeFourCC(id));
    const std::int32_t size = reader.GetChunkSize();
    std::string data(static_cast<std::size_t>(size) + 16, '\0');
    EXPECT_EQ((Ints{reader.Read(data.data(), size + 16), reader.GetChunkPosition(), reader.Read(data.data(), 16),
                    reader.Read(data.data(), -1)}),
              (Ints{size, size, 0, 0}));
    data.resize(static_cast<std::size_t>(size));
    return data;
}

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

// The typed values are the base stream's, over each stream's own byte reads and writes.
TEST(TypedValues, RoundTripAsLittleEndianBytesWithCountedStrings)
{
    CMemoryStream s;
    s.WriteInt8(-2);
    s.WriteInt16(-300);
    s.WriteInt32(-70000);
    s.WriteInt64(-5000000000LL);
    s.WriteUInt8(0xFE);
    s.WriteUInt16(0xBEEF);
    s.WriteUInt32(0xDEADBEEF);
    s.WriteUInt64(0x0123456789ABCDEFULL);
    s.WriteFloat(1.5f);
    s.WriteDouble(-0.125);
    EXPECT_EQ(s.WriteString("abc"), 7);
    EXPECT_EQ(Contents(s), std::string("\xFE", 1) + "\xD4\xFE" + "\x90\xEE\xFE\xFF" +
                               std::string("\x00\x0E\xFA\xD5\xFE\xFF\xFF\xFF", 8) + "\xFE" + "\xEF\xBE" +
                               "\xEF\xBE\xAD\xDE" + "\xEF\xCD\xAB\x89\x67\x45\x23\x01" +
                               std::string("\x00\x00\xC0\x3F", 4) + std::string("\x00\x00\x00\x00\x00\x00\xC0\xBF", 8) +
                               Le32(3) + "abc");
    s.Seek(0);
    std::string text;
    EXPECT_EQ((std::tuple{s.ReadInt8(), s.ReadInt16(), s.ReadInt32(), s.ReadInt64(), s.ReadUInt8(), s.ReadUInt16(),
                          s.ReadUInt32(), s.ReadUInt64(), s.ReadFloat(), s.ReadDouble()}),
              std::make_tuple(-2, -300, -70000, -5000000000LL, 0xFE, 0xBEEF, 0xDEADBEEFu, 0x0123456789ABCDEFULL, 1.5f,
                              -0.125));
    s.ReadString(text);
    EXPECT_EQ(text, "abc");
}

TEST(TypedValues, AReadPastTheEndYieldsItsMissingBytesAsZero)
{
    CMemoryStream shortData = MakeMemory("\x34\x12");
    EXPECT_EQ((std::pair{shortData.ReadUInt32(), shortData.ReadUInt64()}), std::pair(0x1234u, std::uint64_t{0}));
}

TEST(TypedValues, StringsRefuseLengthsBeyondTheDataAndLeaveTheOutputUntouched)
{
    // bytes, the text read (nullptr: EReadError and the output untouched), the position after it
    std::vector<std::tuple<std::string, const char*, std::int32_t>> cases = {
        {Le32(0), "", 4}, {Le32(3) + std::string("a\0btail", 7), "a", 7}}; // ends at the first zero
    for (std::int32_t count : {-1, INT_MIN, INT_MAX, 5})
        cases.emplace_back(Le32(static_cast<std::uint32_t>(count)) + "abcd", nullptr, 0);
    // Every cut of a good string: with no count at all the zero-filled count reads as empty.
    const std::string seven = Le32(7) + "seven!!";
    for (std::size_t cut = 0; cut <= seven.size(); ++cut)
        cases.emplace_back(seven.substr(0, cut), cut == 0 ? "" : cut == seven.size() ? "seven!!" : nullptr, cut);
    for (const auto& [bytes, want, position] : cases) {
        SCOPED_TRACE(::testing::PrintToString(bytes));
        CMemoryStream stream = MakeMemory(bytes);
        std::string out = "keep";
        if (want)
            stream.ReadString(out);
        else
            EXPECT_THROW(stream.ReadString(out), EReadError);
        EXPECT_EQ(std::pair(out, want ? stream.GetPosition() : position),
                  std::pair(std::string(want ? want : "keep"), position));
    }
}

TEST(EveryStream, SeeksReadsAndClonesAlike)
{
    TempDir dir;
    const std::string path = dir.Write("ten.bin", "0123456789");
    const std::string framed = dir.Write("framed.kva", "xx0123456789yy");
    const std::vector<std::pair<const char*, std::function<IKorvaneStream*()>>> makers = {
        {"memory", [] { return new CMemoryStream(MakeMemory("0123456789")); }},
        {"file", [&] { return new CFileStream(path, 1, 1); }},
        {"partition", [&] { return new CFilePartitionStream(framed, 2, 10); }},
    };
    for (const auto& [name, make] : makers) {
        SCOPED_TRACE(name);
        std::unique_ptr<IKorvaneStream> stream(make());
        char buffer[16] = {'c', 'c', 'c', 'c'};
        EXPECT_EQ(
            (Ints{stream->GetSize(), stream->Read(buffer, -1), stream->Read(buffer, INT_MIN), stream->Read(nullptr, 0),
                  stream->GetPosition(), stream->Seek(-5), stream->Seek(20), stream->Read(buffer, 16)}),
            (Ints{10, 0, 0, 0, 0, 0, 10, 0}));
        EXPECT_EQ(std::string(buffer, 4), "cccc");
        stream->Seek(4);
        std::unique_ptr<IKorvaneStream> clone(stream->Clone());
        EXPECT_EQ((std::tuple{clone->GetPosition(), clone->GetSize(), ReadText(*clone, 16), ReadText(*clone, 16),
                              stream->GetPosition(), ReadText(*stream, 3), stream->Seek(0), ReadText(*stream, 16)}),
                  std::tuple(4, 10, "456789", "", 4, "456", 0, "0123456789"));
    }
}

TEST(MemoryStream, SizeChangesZeroFillAndAClonesBytesAreItsOwn)
{
    CMemoryStream sized = MakeMemory("abcdef");
    EXPECT_EQ(sized.Write("x", -1), 0);
    sized.SetSize(-3);
    EXPECT_EQ(Contents(sized), "abcdef");
    sized.Seek(6);
    sized.SetSize(2);
    sized.Write("Z", 1); // at the kept position
    sized.SetSize(10);
    EXPECT_EQ(Contents(sized), std::string("ab\0\0\0\0Z\0\0\0", 10));
    std::unique_ptr<CMemoryStream> clone(sized.Clone()); // owns its bytes
    clone->Write("p!", 2);
    EXPECT_EQ(Contents(sized), std::string("ab\0\0\0\0Z\0\0\0", 10));
    sized.SetSize(0);
    EXPECT_EQ(sized.GetBuffer(), nullptr);
}

TEST(MemoryStream, FailedGrowthKeepsTheContentsAndReportsThatNothingArrived)
{
    ExhaustedMemoryStream exhausted;
    exhausted.Write("abcd", 4);
    exhausted.limit = 4;
    exhausted.SetSize(100);
    CMemoryStream digits = MakeMemory("0123456789");
    // The copy reports that nothing arrived rather than the size it meant to copy.
    EXPECT_EQ(
        (Ints{exhausted.Write("efgh", 4), exhausted.WriteInt32(7), exhausted.Seek(0), exhausted.CopyFrom(digits, 0)}),
        (Ints{0, 0, 0, 0}));
    EXPECT_EQ(Contents(exhausted), "abcd");
}

TEST(MemoryStream, EachWritePastTheEndGrowsItExactlyToTheNeededSize)
{
    ExhaustedMemoryStream built;
    std::vector<std::size_t> expected;
    for (std::size_t size = 1; size <= 100; ++size) {
        built.Write(&"0123456789"[size % 10], 1);
        expected.push_back(size);
    }
    EXPECT_EQ(std::tuple(built.requests, built.GetSize(), Contents(built).substr(0, 12)),
              std::tuple(expected, 100, std::string("123456789012")));
}

// Copies take only what is left or really arrives, and whole sources between files, partitions and memory.
TEST(StreamCopy, TakesOnlyWhatIsLeftInTheSource)
{
    CMemoryStream digits = MakeMemory("0123456789");
    digits.Seek(6);
    CMemoryStream target = MakeMemory("ab");
    target.Seek(1);
    EXPECT_EQ((Ints{target.CopyFrom(digits, 100), target.CopyFrom(digits, -1), target.CopyFrom(digits, INT_MIN)}),
              (Ints{4, 0, 0}));
    EXPECT_EQ(Contents(target), "a6789");
}

TEST(StreamCopy, StopsAtTheFirstShortReadAndNeverWritesUnreadBytes)
{
    // A source delivering at most 1000 bytes per call: the copy reports what it really copied.
    const std::string data = Pattern(70000);
    StingyStream stingy(data, 1000);
    CMemoryStream copy;
    EXPECT_EQ((std::pair{copy.CopyFrom(stingy, 0), Contents(copy)}), std::pair(1000, data.substr(0, 1000)));
}

TEST(StreamCopy, SizeZeroCopiesTheWholeSourceFromItsStartWhateverItsPosition)
{
    TempDir dir;
    const std::string data = Pattern(70000);
    const std::string source = dir.Write("source.bin", data);
    CFileStream file(source, 1, 1);
    file.Seek(500);
    CMemoryStream memory;
    EXPECT_EQ((Ints{memory.CopyFrom(file, 0), file.GetPosition(), memory.GetPosition()}), (Ints{70000, 70000, 70000}));
    EXPECT_EQ(Contents(memory), data);
    EXPECT_EQ(CFileStream(dir.File("copy.bin"), 0, 0).CopyFrom(memory, 0), 70000);
    EXPECT_EQ(TempDir::Read(dir.File("copy.bin")), data);
}

TEST(StreamCopy, AWindowClaimingMoreThanTheFileHoldsCopiesOnlyWhatExists)
{
    TempDir dir;
    const std::string data = Pattern(70000);
    CFilePartitionStream window(dir.Write("source.bin", data), 60000, 50000);
    CMemoryStream part;
    EXPECT_EQ((std::pair{part.CopyFrom(window, 0), Contents(part)}), std::pair(10000, data.substr(60000)));
}

TEST(FileStream, AMissingFileFailsToOpenAndLogsTheSystemError)
{
    TempDir dir;
    LogCapture log;
    const std::string missing = dir.File("missing.bin");
    ExpectThrowWith<EFileOpenError>([&] { CFileStream stream(missing, 1, 1); }, "Cannot open file: \"" + missing + "\"",
                                    "class korvane::CFileStream");
    EXPECT_EQ(std::pair(log.CountContaining("Win32Error(0x2)"), log.Contains("\n\tFileStream(")),
              std::pair(std::size_t{1}, true))
        << log.All();
    EXPECT_THROW(CFileStream(dir.File("no/such/dir.bin"), 0, 0), EFileOpenError);
}

TEST(FileStream, AFolderIsNoFileInAnyModeAndReplacingOneFailsBeforeAnythingIsWritten)
{
    TempDir dir;
    LogCapture log;
    dir.Write("blocked/folder/inside.txt", "x");
    for (std::int32_t mode : {0, 1, 2, 3})
        EXPECT_THROW(CFileStream(dir.File("blocked/folder"), mode, 1), EFileOpenError) << mode;
    EXPECT_EQ((std::pair{TempDir::Read(dir.File("blocked/folder/inside.txt")), EntryCount(dir.File("blocked"))}),
              std::pair(std::string("x"), std::ptrdiff_t{1}));
}

TEST(FileStream, BackslashPathsOpenAndTheWriteTimeCountsFrom1601)
{
    // 2000-01-01 00:00:00.5 UTC is 125911584005000000 in 100 ns steps since 1601.
    TempDir dir;
    const std::string dated = dir.Write("sub/t.bin", "xy");
    const struct timespec times[2] = {{946684800, 500000000}, {946684800, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dated.c_str(), times, 0), 0);
    CFileStream stream(dir.Path() + "sub\\t.bin", 1, 1);
    EXPECT_EQ(std::tuple(stream.GetSize(), stream.GetLastWriteTime()), std::tuple(2, 125911584005000000ull));
}

TEST(FileStream, AWriteStreamSeeksPastTheEndAndRefusesReadsAndWritesOnceClosed)
{
    TempDir dir;
    LogCapture log;
    char buffer[4];
    CFileStream writer(dir.File("new.bin"), 0, 0);
    EXPECT_EQ((Ints{writer.Seek(100), writer.Write("x", 1), writer.Seek(0)}), (Ints{100, 1, 0}));
    EXPECT_THROW(writer.Read(buffer, 4), EReadError);
    writer.Close();
    EXPECT_THROW(writer.Write("x", 1), EWriteError);
    EXPECT_THROW(writer.SetSize(3), EWriteError);
    EXPECT_EQ(TempDir::Read(dir.File("new.bin")), std::string(100, '\0') + "x");
}

TEST(FileStream, ModeThreeWritesTheFileItselfAndCreatesAMissingOne)
{
    TempDir dir;
    const std::string rw = dir.Write("rw.bin", "0123456789");
    CFileStream inPlace(rw, 3, 0);
    inPlace.Seek(4);
    inPlace.Write("AB", 2);
    inPlace.SetSize(8);
    // Visible at once: mode 3 writes the file itself.
    EXPECT_EQ((std::pair{inPlace.GetPosition(), TempDir::Read(rw)}), std::pair(6, std::string("0123AB67")));
    EXPECT_EQ(CFileStream(dir.File("created.bin"), 3, 0).GetSize(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("created.bin")));
}

TEST(FileStream, ClosingTwiceIsHarmlessAndAClosedStreamRefusesReads)
{
    TempDir dir;
    LogCapture log;
    char buffer[4];
    CFileStream stream(dir.Write("t.bin", "xy"), 1, 1);
    stream.Close();
    stream.Close(); // twice is harmless
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_THROW(stream.Read(buffer, 4), EReadError);
}

TEST(FilePartitionStream, RefusesWritesAndBadWindows)
{
    TempDir dir;
    LogCapture log;
    const std::string archive = dir.Write("archive.kva", "0123456789");
    CFilePartitionStream partition(archive, 2, 5);
    ExpectThrowWith<EInvalidOperation>([&] { partition.Write("x", 1); }, "Cannot write to CFilePartitionStream",
                                       "class korvane::CFilePartitionStream");
    EXPECT_THROW(partition.SetSize(1), EInvalidOperation);
    EXPECT_EQ(TempDir::Read(archive), "0123456789");
    EXPECT_GT(std::unique_ptr<CFilePartitionStream>(partition.Clone())->GetLastWriteTime(), 0u);
    EXPECT_THROW(CFilePartitionStream(archive, -1, 5), EInvalidParameter);
    EXPECT_THROW(CFilePartitionStream(dir.File("none.kva"), 0, 1), EFileOpenError);
}

/// Replacing a settings file (mode 0640, "old contents") alone in its folder; the capture takes the
/// errors of dropped data.
class ReplacingFileStream : public ::testing::Test
{
protected:
    void SetUp() override { ::chmod(settings_.c_str(), 0640); }

    /// Replaces the file through a link beside it with "linked".
    void WriteThroughLink()
    {
        std::filesystem::create_symlink(settings_, folder_.File("link.ini"));
        CFileStream(folder_.File("link.ini"), 0, 0).Write("linked", 6);
    }

    LogCapture log_;
    TempDir folder_;
    const std::string settings_ = folder_.Write("settings.ini", "old contents");
};

TEST_F(ReplacingFileStream, KeepsTheOldFileUntilCloseAndAClonesWritesGoToThePendingData)
{
    CFileStream pending(settings_, 0, 0);
    pending.Write("0123456789", 10);
    {
        // The clone neither truncates nor commits the pending data.
        std::unique_ptr<CFileStream> clone(pending.Clone());
        EXPECT_EQ((Ints{clone->GetPosition(), clone->GetSize()}), (Ints{10, 10}));
        clone->Seek(2);
        clone->Write("ab", 2);
    }
    EXPECT_EQ(TempDir::Read(settings_), "old contents");
    pending.Close();
    // A clone of a committed stream still keeps the content.
    EXPECT_EQ((std::pair{std::unique_ptr<CFileStream>(pending.Clone())->GetSize(), TempDir::Read(settings_)}),
              std::pair(10, std::string("01ab456789")));
}

TEST_F(ReplacingFileStream, KeepsThePermissionsAndLeavesNothingButTheFile)
{
    CFileStream(settings_, 0, 0).Write("0123456789", 10);
    struct stat info;
    ASSERT_EQ(::stat(settings_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(EntryCount(folder_.Path()), 1); // nothing but the file itself is left in the folder
}

TEST_F(ReplacingFileStream, FollowsALinkAndKeepsItALink)
{
    WriteThroughLink();
    EXPECT_TRUE(std::filesystem::is_symlink(folder_.File("link.ini")));
    EXPECT_EQ(TempDir::Read(settings_), "linked");
}

TEST_F(ReplacingFileStream, AnExceptionDropsThePendingDataWithoutATrace)
{
    WriteThroughLink();
    try {
        CFileStream failed(settings_, 0, 0);
        failed.Write("half", 4);
        throw EWriteError(nullptr, "serialisation failed");
    } catch (const EWriteError&) {
    }
    EXPECT_EQ((std::pair{TempDir::Read(settings_), EntryCount(folder_.Path())}),
              std::pair(std::string("linked"), std::ptrdiff_t{2}));
}

TEST_F(ReplacingFileStream, ACrashBeforeCloseLeavesTheOldFile)
{
    WriteThroughLink();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // a crash: the stream is never closed or destroyed
        (new CFileStream(settings_, 0, 0))->Write("torn", 4);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(TempDir::Read(settings_), "linked");
}

TEST_F(ReplacingFileStream, ModeTwoReplacesTheWholeFile)
{
    WriteThroughLink();
    CFileStream(settings_, 2, 1).WriteString("saved");
    EXPECT_EQ(TempDir::Read(settings_), Le32(5) + "saved");
}

// A round trip; a big-endian file is written but refused by the reader (every reader above it reads
// little-endian fields).
TEST(RIFFFile, RoundTripsInLittleEndianOrdersAndABigEndianOneIsRefused)
{
    TempDir dir;
    LogCapture log;
    for (std::int32_t order : {0, 1, 2}) {
        SCOPED_TRACE(order);
        CRIFFWriter writer;
        writer.SetByteOrder(order);
        writer.SetFormType(MakeFourCC("KVFT"));
        writer.AddChunk(MakeFourCC("odd1"), "abc", 3); // odd size, no pad follows
        CMemoryStream glyphs = MakeMemory(std::string("\x01\x02\x03\x04\x05\x00\x07", 7));
        glyphs.Seek(5); // AddChunk rewinds the data stream
        writer.AddChunk(MakeFourCC("glpt"), glyphs);
        writer.AddChunk(MakeFourCC("empt"), nullptr, 0);
        writer.AddChunk(MakeFourCC("head"), "0123456789", 10);
        const std::string path = dir.File("font" + std::to_string(order) + ".kvf");
        {
            CFileStream file(path, 0, 0);
            writer.WriteTo(file);
        }
        const std::string bytes = TempDir::Read(path);
        ASSERT_EQ(bytes.size(), 12u + 8 + 3 + 8 + 7 + 8 + 0 + 8 + 10);
        EXPECT_EQ(bytes.substr(0, 20), order == 2 ? std::string("RIFX\0\0\0\x38KVFTodd1\0\0\0\x03", 20)
                                                  : "RIFF" + Le32(56) + "KVFTodd1" + Le32(3));
        CRIFFReader reader;
        if (order == 2) {
            ExpectThrowWith<EInvalidFileFormat>([&] { reader.Open(boost::make_shared<CFileStream>(path, 1, 1)); },
                                                "file format error: not RIFF header.", "class korvane::CRIFFReader");
            continue;
        }
        reader.Open(boost::make_shared<CFileStream>(path, 1, 1));
        EXPECT_EQ(std::tuple(reader.GetFormType(), reader.GetChunkSize()), std::tuple(MakeFourCC("KVFT"), 0));
        EXPECT_EQ(ReadChunk(reader, "head") + ReadChunk(reader, "odd1") + ReadChunk(reader, "glpt") + "|" +
                      ReadChunk(reader, "empt"),
                  std::string("0123456789abc\x01\x02\x03\x04\x05\x00\x07|", 21));
    }
}

// Chunks follow each other without pad bytes: the chunk after an odd-sized one is found whatever
// byte its id starts with, a zero byte included.
TEST(RIFFFile, TheChunkAfterAnOddSizedOneIsFoundWhateverItsIdStartsWith)
{
    for (const char first : {'\0', 'z'}) {
        SCOPED_TRACE(static_cast<int>(first));
        const std::uint32_t ids[] = {MakeFourCC("odd "), MakeFourCC(first, 'n', 'x', 't'), MakeFourCC("last")};
        CRIFFWriter writer;
        writer.AddChunk(ids[0], "abc", 3);
        writer.AddChunk(ids[1], "1234", 4);
        writer.AddChunk(ids[2], "L", 1);
        CMemoryStream file;
        writer.WriteTo(file);
        CRIFFReader reader;
        reader.Open(&file);
        std::string read;
        for (const std::uint32_t id : ids) {
            reader.FindChunk(id);
            char data[8];
            read += std::string(data, static_cast<std::size_t>(reader.Read(data, 8))) + "|";
        }
        EXPECT_EQ(read, "abc|1234|L|");
    }
}

TEST(RIFFWriter, AChunkThatCannotBeAddedWholeLeavesNoTrace)
{
    LogCapture log;
    CRIFFWriter riffWriter;
    EXPECT_EQ(riffWriter.SetFormType(MakeFourCC("PREF")), MakeFourCC("PREF"));
    riffWriter.AddChunk(MakeFourCC("one "), "1", 1); // odd size, no pad follows
    StingyStream failing(std::string(20000, 'f'), INT32_MAX, 10000);
    EXPECT_THROW(riffWriter.AddChunk(MakeFourCC("bad "), failing), EReadError);
    riffWriter.AddChunk(MakeFourCC("two "), "22", 2);
    CMemoryStream out;
    EXPECT_EQ(riffWriter.WriteTo(out), 9 + 10);
    EXPECT_EQ(Contents(out), "RIFF" + Le32(23) + "PREF" + "one " + Le32(1) + "1" + "two " + Le32(2) + "22");
}

// The reader's texts for a file that is no RIFF and for a missing chunk, an empty file, a later
// chunk of the same id and a huge RIFF size are the rows "other container id", "no \"head\"",
// "empty file", "duplicate chunk: the last wins" and "container size huge" of
// PreferenceTest.EachDamageAndEveryCutLogsItsLinesAndAppliesNoMoreThanItMay; chunks one after
// another, RIFFFile's round trip.
TEST(RIFFReader, WalksOtherWritersTablesAndEndsCorruptOnesPromptlyWithinTheData)
{
    // name, bytes, the "data" chunk as indexed ("-": absent)
    const std::tuple<const char*, std::string, const char*> tables[] = {
        // No pad byte is skipped: the next header is read from the pad on, so "data" is not found.
        {"padded odd chunk",
         "RIFF" + Le32(4 + 9 + 1 + 10) + "WAVE" + "LIST" + Le32(1) + "L" + std::string(1, '\0') + "data" + Le32(2) +
             "DD",
         "-"},
        {"chunk size -8", "RIFF" + Le32(0x7FFFFFFF) + "FORM" + "back" + Le32(0xFFFFFFF8) + "xxxxxxxxxxxx", "-"},
        {"chunk size -100", "RIFF" + Le32(100) + "FORM" + "back" + Le32(0xFFFFFF9C) + "abcd" + Le32(0), "-"},
        {"chunk past end", "RIFF" + Le32(40) + "FORM" + "data" + Le32(0x7FFFFFF0) + "abcd", "abcd"},
        {"cut header", "RIFF" + Le32(20) + "FORM" + "data" + Le32(1) + "a" + "cut!" + "\x05", "a"},
        {"only file id", "RIFF", "-"},
    };
    for (const auto& [name, bytes, data] : tables) {
        SCOPED_TRACE(name);
        CMemoryStream file = MakeMemory(bytes);
        CRIFFReader reader;
        reader.Open(&file);
        EXPECT_EQ(std::pair(reader.HasChunk(MakeFourCC("cut!")),
                            reader.HasChunk(MakeFourCC("data")) ? ReadChunk(reader, "data") : "-"),
                  std::pair(false, std::string(data)));
    }
}

TEST(Properties, OddLinesAreTakenLiterally)
{
    CaseSensitive parsed;
    parsed.ParseLines({"a=b=c", " a = b ", "=x", "x=", "; c=comment", " ;d=e", "no equals", "", ";"});
    EXPECT_THAT(parsed.GetEntries(),
                ElementsAre(Pair("", "x"), Pair(" ;d", "e"), Pair(" a ", " b "), Pair("a", "b=c"), Pair("x", "")));
}

TEST(Properties, AnyLineEndingWorksAndLoadingStartsAtTheStreamsBeginning)
{
    for (const std::string& text :
         {std::string("k1=v1\r\nk2=v2\r\n"), std::string("k1=v1\nk2=v2"), std::string("\r\rk1=v1\r\r\n\nk2=v2\r"),
          std::string("k1=v1\nk2=v2\n\0k3=v3\n", 20)}) {
        SCOPED_TRACE(::testing::PrintToString(text));
        CaseSensitive loaded;
        CMemoryStream stream = MakeMemory(text);
        stream.Seek(3); // loading always starts at the stream's beginning
        loaded.LoadFromStream(stream);
        std::vector<std::string> lines;
        loaded.GetLines(lines);
        EXPECT_EQ(lines, (std::vector<std::string>{"k1=v1", "k2=v2"}));
    }
}

TEST(Properties, CaseInsensitiveKeysKeepTheirFirstSpelling)
{
    CaseInsensitive folded;
    CMemoryStream windowed = MakeMemory("Windowed=true\r\nWINDOWED=false\r\n");
    folded.LoadFromStream(windowed);
    EXPECT_THAT(folded.GetEntries(), ElementsAre(Pair("Windowed", "false")));
    CaseSensitive exact;
    exact.LoadFromStream(windowed);
    EXPECT_THAT(exact.GetEntries(), ElementsAre(Pair("WINDOWED", "false"), Pair("Windowed", "true")));
    EXPECT_EQ(folded.Get("windowed", "none") + exact.Get("windowed", "none"), "falsenone");
}

TEST(Properties, KeysCompareLowerCased)
{
    // "[" (0x5B) sorts before "Z" because "Z" counts as "z".
    comparator_for_properties::less_ignorecase less;
    EXPECT_EQ((std::vector<bool>{less("[", "Z"), less("[", "a"),
                                 less("\xC3\x84", "\xC3\xA4") == less("\xC3\xA4", "\xC3\x84")}),
              (std::vector<bool>{true, true, false}));
}

// Saving to and loading from files: the display-mode preference's scenario
// (ApplicationDriverSeamTest.OneDriverReachesInjected...).
TEST(Properties, SavingWritesSortedCrLfLinesAtThePositionAndASetKeyKeepsItsFirstSpelling)
{
    // Lines sorted ignoring case, ending in CR LF, at the stream's position with no prefix of its own.
    CaseInsensitive table;
    table.ParseLines({"Old=1", "Keep=yes", "b=2", "a=1"});
    table.Set("OLD", "changed");
    CMemoryStream headed = MakeMemory("HEAD");
    headed.Seek(4);
    table.SaveToStream(headed);
    EXPECT_EQ(Contents(headed), "HEADa=1\r\nb=2\r\nKeep=yes\r\nOld=changed\r\n");
}

TEST(Properties, LoadingAddsToWhatIsThereAndClearEmptiesTheTable)
{
    CMemoryStream windowed = MakeMemory("Windowed=true\r\nWINDOWED=false\r\n");
    CaseInsensitive again;
    again.Set("Extra", "kept");
    again.LoadFromStream(windowed);
    EXPECT_EQ(again.Get("extra", "") + again.Get("windowed", ""), "keptfalse");
    again.Clear();
    EXPECT_TRUE(again.GetEntries().empty());
}

TEST(SoundReaders, AreChosenByTheLeadingBytesAtTheStreamsPositionWhichIsKept)
{
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
}

TEST(WaveSoundReader, ReadsAFileWithAnOddChunkBeforeItsDataAndRewinds)
{
    const std::string pcm = "\x01\x02\x03\x04\x05\x06\x07\x08";
    TempDir dir;
    CFileStream file(
        dir.Write("beep.wav", Wave(FormatChunk(2, 22050, 16) + "odd " + Le32(3) + "abc" + "data" + Le32(8) + pcm)), 1,
        1);
    std::unique_ptr<ISoundReader> reader(CreateAndOpenSoundReader(&file));
    ExpectPcmFormat(*reader->GetFormat(), 2, 22050, 88200, 4);
    EXPECT_EQ(reader->GetComment("title"), "");
    char head[16];
    EXPECT_EQ((Ints{reader->GetTotalBytes(), reader->GetPosition(), reader->Read(head, 5), reader->Read(head + 5, 16),
                    reader->Read(head, 16), reader->GetPosition(), reader->Rewind(), reader->GetPosition()}),
              (Ints{8, 0, 5, 3, 0, 8, 0, 0}));
    EXPECT_EQ(std::string(head, 8) + ReadAll(*reader), pcm + pcm);
}

TEST(WaveSoundReader, KeepsOnlyTheFormatExtraBytesThatArePresent)
{
    // 20-byte chunk whose cbSize claims 100 extra bytes: only the 2 present are kept.
    CMemoryStream extra = MakeMemory(Wave(FormatChunk(1, 8000, 8, 20, 100) + "data" + Le32(2) + "ab"));
    CWaveSoundReader waveReader;
    waveReader.Open(&extra);
    EXPECT_EQ(std::pair(waveReader.GetFormat()->cbSize, waveReader.GetFormatExtra()),
              std::pair(std::uint16_t{2}, std::vector<std::uint8_t>{0x7F, 0x7F}));
    CMemoryStream exact = MakeMemory(Wave(FormatChunk(1, 8000, 8, 18, 0) + "data" + Le32(2) + "ab"));
    waveReader.Open(&exact);
    EXPECT_EQ(waveReader.GetFormat()->cbSize, 0);
}

TEST(WaveSoundReader, RefusesARiffFileThatIsNoWave)
{
    CWaveSoundReader waveReader;
    CMemoryStream notWave = MakeMemory("RIFF" + Le32(4) + "AVI ");
    ExpectThrowWith<EInvalidFileFormat>([&] { waveReader.Open(&notWave); },
                                        "ファイルフォーマットエラー: WAVEファイルではありません.");
}

// The Ogg reader decodes exactly as libvorbisfile in any request size, rewinds, reads comments and ends on failure.
class OggVorbisReaderTest : public ::testing::Test
{
protected:
    TempDir dir_;
    const Tone& tone_ = StereoTone();
    const std::int32_t total_ = static_cast<std::int32_t>(4 * tone_.frames);
    CFileStream stream_{dir_.Write("music.ogg", tone_.bytes), 1, 1};
    COggVorbisReader ogg_;
};

TEST_F(OggVorbisReaderTest, ReadsTheFormatAndTheCommentsByKeyInAnyCase)
{
    ogg_.Open(&stream_);
    ExpectPcmFormat(*ogg_.GetFormat(), 2, 44100, 176400, 4);
    EXPECT_EQ((std::vector<std::string>{ogg_.GetComment("title"), ogg_.GetComment("Artist"), ogg_.GetComment("note"),
                                        ogg_.GetComment("no equals sign")}),
              (std::vector<std::string>{"Stage One", "Test", "a=b", ""}));
}

TEST_F(OggVorbisReaderTest, DecodesWholeFramesAsLibvorbisfileInAnyRequestSizeAndRewinds)
{
    ogg_.Open(&stream_);
    // Requests smaller than a frame return at once.
    char buffer[64], first[64];
    EXPECT_EQ(
        (Ints{ogg_.GetTotalBytes(), ogg_.GetPosition(), ogg_.Read(buffer, 3), ogg_.Read(buffer, 0),
              ogg_.Read(buffer, -4), ogg_.Read(buffer, 7), ogg_.GetPosition(), ogg_.Rewind(), ogg_.Read(first, 64)}),
        (Ints{total_, 0, 0, 0, 0, 4, 4, 0, 64}));
    // Odd-sized requests still yield whole frames, and every byte is what libvorbisfile decodes.
    EXPECT_EQ(std::string(first, 64) + ReadAll(ogg_, 4099), DecodeDirectly(tone_.bytes));
    EXPECT_EQ(
        (Ints{ogg_.Read(buffer, 64), ogg_.GetPosition(), ogg_.Rewind(), ogg_.GetPosition(), ogg_.Read(buffer, 64)}),
        (Ints{0, total_, 0, 0, 64}));
    EXPECT_EQ(std::memcmp(first, buffer, 64), 0);
}

TEST_F(OggVorbisReaderTest, EndsWhenItsStreamFailsForGood)
{
    // The stream fails after a while, as a vanished file would.
    ogg_.Open(&stream_);
    const Tone longer = EncodeTone(2, 44100, 4 * 44100, 441.0);
    StingyStream failing(longer.bytes, INT32_MAX);
    ogg_.Open(&failing);
    failing.FailAfter(4000);
    LogCapture log;
    EXPECT_LT(ReadAll(ogg_).size(), static_cast<std::size_t>(4 * longer.frames));
}

// Sounds packed inside a larger file are read through partition streams, whose positions are relative
// to the window.
TEST(SoundReaders, ReadThroughWindowsOfALargerFile)
{
    TempDir dir;
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
}

TEST(WaveSoundReader, RefusesOrBoundsSizeFieldsPastTheEndOrNegative)
{
    LogCapture log;
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
}

// Codebooks that libvorbis cannot build (and then divides by zero on), a lattice value map over no
// dimensions (which libvorbis accepts and then never finishes building), a sample count that
// overflows when turned into bytes: all refused by Open, not by a signal or a hang.
TEST(OggVorbisReader, RefusesFilesThatBrokeTheDecoderAtOpen)
{
    LogCapture log;
    for (const char* name : {"decoder-divides-by-zero-1.ogg", "decoder-divides-by-zero-2.ogg",
                             "lattice-map-without-dimensions.ogg", "huge-granule-position.ogg"}) {
        SCOPED_TRACE(name);
        CMemoryStream stream = MakeMemory(HostileFile(name));
        COggVorbisReader reader;
        ExpectThrowWith<EFileOpenError>([&] { reader.Open(&stream); }, "OggVorbisファイルのオープンに失敗しました.");
        char buffer[64];
        EXPECT_EQ(reader.Read(buffer, sizeof buffer), 0);
    }
}

// The last page's granule position gives the count (this tone spans several pages).
TEST(OggVorbisReader, CountsBeyond32BitsOfBytesAsTooLongToCount)
{
    COggVorbisReader counted;
    CMemoryStream longOne = MakeMemory(WithLastGranule(StereoTone().bytes, std::int64_t{1} << 40));
    counted.Open(&longOne);
    EXPECT_EQ(counted.GetTotalBytes(), INT32_MAX);
}

TEST(OggVorbisReader, DeliversNoMoreThanTheLastGranulePromises)
{
    COggVorbisReader counted;
    CMemoryStream shortOne = MakeMemory(WithLastGranule(StereoTone().bytes, 1000));
    counted.Open(&shortOne);
    EXPECT_EQ((std::pair{counted.GetTotalBytes(), ReadAll(counted).size()}), std::pair(4000, std::size_t{4000}));
}

TEST(OggVorbisReader, ChainedLinksEndWhereTheFormatChanges)
{
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
