/** @file StreamTest.cpp Memory, file and partition streams over real files; RIFF and property files on them. */
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "StreamTestSupport.h"

using namespace korvane;
using namespace korvane::test;
using ::testing::ElementsAre;
using ::testing::Pair;
using CaseSensitive = TProperties<std::less<std::string>>;
using CaseInsensitive = TProperties<comparator_for_properties::less_ignorecase>;

namespace
{
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
    void* Reallocate(void* block, std::size_t bytes) override
    {
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
} // namespace

TEST(Streams, TypedValuesSeeksClonesCopiesFileModesAndReplacingAndTheRIFFAndPropertyFilesReadThroughThem)
{
    // The typed values are the base stream's, over each stream's own byte reads and writes.
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
    // A typed read past the end yields its missing bytes as zero.
    CMemoryStream shortData = MakeMemory("\x34\x12");
    EXPECT_EQ((std::pair{shortData.ReadUInt32(), shortData.ReadUInt64()}), std::pair(0x1234u, std::uint64_t{0}));
    // Strings refuse lengths beyond the data.
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
    // Seeking, reading and cloning alike for every stream.
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
    // Memory streams: size changes zero-fill, failed growth keeps the contents.
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
    // Copies take only what is left or really arrives, and whole sources between files, partitions and memory.
    digits.Seek(6);
    CMemoryStream target = MakeMemory("ab");
    target.Seek(1);
    EXPECT_EQ((Ints{target.CopyFrom(digits, 100), target.CopyFrom(digits, -1), target.CopyFrom(digits, INT_MIN)}),
              (Ints{4, 0, 0}));
    EXPECT_EQ(Contents(target), "a6789");
    // A source delivering at most 1000 bytes per call: the copy stops at the first short
    // read, reports what it really copied and never writes unread bytes.
    const std::string data = Pattern(70000);
    StingyStream stingy(data, 1000);
    CMemoryStream copy;
    EXPECT_EQ((std::pair{copy.CopyFrom(stingy, 0), Contents(copy)}), std::pair(1000, data.substr(0, 1000)));
    // Size 0 copies the whole source from its start, whatever its position.
    const std::string source = dir.Write("source.bin", data);
    CFileStream file(source, 1, 1);
    file.Seek(500);
    CMemoryStream memory;
    EXPECT_EQ((Ints{memory.CopyFrom(file, 0), file.GetPosition(), memory.GetPosition()}), (Ints{70000, 70000, 70000}));
    EXPECT_EQ(Contents(memory), data);
    EXPECT_EQ(CFileStream(dir.File("copy.bin"), 0, 0).CopyFrom(memory, 0), 70000);
    EXPECT_EQ(TempDir::Read(dir.File("copy.bin")), data);
    // A window that claims more than the file holds copies only what exists.
    CFilePartitionStream window(source, 60000, 50000);
    CMemoryStream part;
    EXPECT_EQ((std::pair{part.CopyFrom(window, 0), Contents(part)}), std::pair(10000, data.substr(60000)));
    // File streams: open failures log, writing modes work, partitions refuse writes, replacing keeps the old
    // file till close.
    LogCapture log;
    const std::string missing = dir.File("missing.bin");
    ExpectThrowWith<EFileOpenError>([&] { CFileStream stream(missing, 1, 1); }, "Cannot open file: \"" + missing + "\"",
                                    "class korvane::CFileStream");
    EXPECT_EQ(log.CountContaining("Win32Error(0x2)"), 1u) << log.All();
    EXPECT_THROW(CFileStream(dir.File("no/such/dir.bin"), 0, 0), EFileOpenError);
    // A folder is no file in any mode, and replacing one must fail before anything is written.
    dir.Write("blocked/folder/inside.txt", "x");
    for (std::int32_t mode : {0, 1, 2, 3})
        EXPECT_THROW(CFileStream(dir.File("blocked/folder"), mode, 1), EFileOpenError) << mode;
    EXPECT_EQ((std::pair{TempDir::Read(dir.File("blocked/folder/inside.txt")), EntryCount(dir.File("blocked"))}),
              std::pair(std::string("x"), std::ptrdiff_t{1}));
    // Backslash paths open; 2000-01-01 00:00:00.5 UTC is 125911584005000000 in 100 ns steps since 1601.
    const std::string dated = dir.Write("sub/t.bin", "xy");
    const struct timespec times[2] = {{946684800, 500000000}, {946684800, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dated.c_str(), times, 0), 0);
    CFileStream stream(dir.Path() + "sub\\t.bin", 1, 1);
    EXPECT_EQ(std::tuple(stream.GetSize(), stream.GetLastWriteTime()), std::tuple(2, 125911584005000000ull));
    // Writing modes seek past the end, work in place and refuse the wrong access, as closed streams do.
    char buffer[4];
    CFileStream writer(dir.File("new.bin"), 0, 0);
    EXPECT_EQ((Ints{writer.Seek(100), writer.Write("x", 1), writer.Seek(0)}), (Ints{100, 1, 0}));
    EXPECT_THROW(writer.Read(buffer, 4), EReadError);
    writer.Close();
    EXPECT_THROW(writer.Write("x", 1), EWriteError);
    EXPECT_THROW(writer.SetSize(3), EWriteError);
    EXPECT_EQ(TempDir::Read(dir.File("new.bin")), std::string(100, '\0') + "x");
    const std::string rw = dir.Write("rw.bin", "0123456789");
    CFileStream inPlace(rw, 3, 0);
    inPlace.Seek(4);
    inPlace.Write("AB", 2);
    inPlace.SetSize(8);
    // Visible at once: mode 3 writes the file itself.
    EXPECT_EQ((std::pair{inPlace.GetPosition(), TempDir::Read(rw)}), std::pair(6, std::string("0123AB67")));
    EXPECT_EQ(CFileStream(dir.File("created.bin"), 3, 0).GetSize(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("created.bin")));
    stream.Close();
    stream.Close(); // twice is harmless
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_THROW(stream.Read(buffer, 4), EReadError);
    // A partition refuses writes and bad windows.
    const std::string archive = dir.Write("archive.kva", "0123456789");
    CFilePartitionStream partition(archive, 2, 5);
    ExpectThrowWith<EInvalidOperation>([&] { partition.Write("x", 1); }, "Cannot write to CFilePartitionStream",
                                       "class korvane::CFilePartitionStream");
    EXPECT_THROW(partition.SetSize(1), EInvalidOperation);
    EXPECT_EQ(TempDir::Read(archive), "0123456789");
    EXPECT_GT(std::unique_ptr<CFilePartitionStream>(partition.Clone())->GetLastWriteTime(), 0u);
    EXPECT_THROW(CFilePartitionStream(archive, -1, 5), EInvalidParameter);
    EXPECT_THROW(CFilePartitionStream(dir.File("none.kva"), 0, 1), EFileOpenError);
    // Replacing: the old file stays until close or destruction, and survives an exception, a crash or a clone.
    TempDir folder;
    const std::string settings = folder.Write("settings.ini", "old contents");
    ::chmod(settings.c_str(), 0640);
    CFileStream pending(settings, 0, 0);
    pending.Write("0123456789", 10);
    {
        // The clone neither truncates nor commits the pending data.
        std::unique_ptr<CFileStream> clone(pending.Clone());
        EXPECT_EQ((Ints{clone->GetPosition(), clone->GetSize()}), (Ints{10, 10}));
        clone->Seek(2);
        clone->Write("ab", 2);
    }
    EXPECT_EQ(TempDir::Read(settings), "old contents");
    pending.Close();
    // A clone of a committed stream still keeps the content.
    EXPECT_EQ((std::pair{std::unique_ptr<CFileStream>(pending.Clone())->GetSize(), TempDir::Read(settings)}),
              std::pair(10, std::string("01ab456789")));
    struct stat info;
    ASSERT_EQ(::stat(settings.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(EntryCount(folder.Path()), 1); // nothing but the file itself is left in the folder
    // A link is followed and stays a link.
    std::filesystem::create_symlink(settings, folder.File("link.ini"));
    CFileStream(folder.File("link.ini"), 0, 0).Write("linked", 6);
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("link.ini")));
    EXPECT_EQ(TempDir::Read(settings), "linked");

    // The capture above takes the dropped-data errors.
    try {
        CFileStream failed(settings, 0, 0);
        failed.Write("half", 4);
        throw EWriteError(nullptr, "serialisation failed");
    } catch (const EWriteError&) {
    }
    EXPECT_EQ((std::pair{TempDir::Read(settings), EntryCount(folder.Path())}),
              std::pair(std::string("linked"), std::ptrdiff_t{2}));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) { // a crash: the stream is never closed or destroyed
        (new CFileStream(settings, 0, 0))->Write("torn", 4);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(TempDir::Read(settings), "linked");
    CFileStream(settings, 2, 1).WriteString("saved");
    EXPECT_EQ(TempDir::Read(settings), Le32(5) + "saved");
    // RIFF files: a round trip in both byte orders, a chunk that cannot be added whole leaves no trace, and
    // chunk tables are walked.
    for (std::int32_t order : {0, 1, 2}) {
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
        reader.Open(boost::make_shared<CFileStream>(path, 1, 1));
        EXPECT_EQ(std::tuple(reader.IsBigEndian(), reader.GetFormType(), reader.GetChunkSize()),
                  std::tuple(order == 2, MakeFourCC("KVFT"), 0));
        EXPECT_EQ(ReadChunk(reader, "head") + ReadChunk(reader, "odd1") + ReadChunk(reader, "glpt") + "|" +
                      ReadChunk(reader, "empt"),
                  std::string("0123456789abc\x01\x02\x03\x04\x05\x00\x07|", 21));
    }
    // A chunk that cannot be added whole leaves no trace.
    CRIFFWriter riffWriter;
    EXPECT_EQ(riffWriter.SetFormType(MakeFourCC("PREF")), MakeFourCC("PREF"));
    riffWriter.AddChunk(MakeFourCC("one "), "1", 1); // odd size, no pad follows
    StingyStream failing(std::string(20000, 'f'), INT32_MAX, 10000);
    EXPECT_THROW(riffWriter.AddChunk(MakeFourCC("bad "), failing), EReadError);
    riffWriter.AddChunk(MakeFourCC("two "), "22", 2);
    CMemoryStream out;
    EXPECT_EQ(riffWriter.WriteTo(out), 9 + 10);
    EXPECT_EQ(Contents(out), "RIFF" + Le32(23) + "PREF" + "one " + Le32(1) + "1" + "two " + Le32(2) + "22");
    // The reader's texts for a file that is no RIFF and for a missing chunk, an empty file, a later
    // chunk of the same id, a huge RIFF size and a chunk past the end are the rows "other container
    // id", "no \"head\"", "empty file", "duplicate chunk: the last wins", "container size huge"
    // and "last chunk's size past the end" of PreferenceHostileTest.EachDamageLogsItsLinesAndApplies-
    // NoMoreThanItMay; chunks one after another, the round trip above. Tables from other writers are
    // read, and corrupt ones end the walk promptly without indexing beyond the data.
    // name, bytes, the "data" chunk as indexed ("-": absent)
    const std::tuple<const char*, std::string, const char*> tables[] = {
        {"padded odd chunk",
         "RIFF" + Le32(4 + 9 + 1 + 10) + "WAVE" + "LIST" + Le32(1) + "L" + std::string(1, '\0') + "data" + Le32(2) +
             "DD",
         "DD"},
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
    // Property files: odd lines are taken literally, any line ending works, keys keep their first spelling, and
    // saving writes sorted CR LF lines.
    CaseSensitive parsed;
    parsed.ParseLines({"a=b=c", " a = b ", "=x", "x=", "; c=comment", " ;d=e", "no equals", "", ";"});
    EXPECT_THAT(parsed.GetEntries(),
                ElementsAre(Pair("", "x"), Pair(" ;d", "e"), Pair(" a ", " b "), Pair("a", "b=c"), Pair("x", "")));
    for (const std::string& text :
         {std::string("k1=v1\r\nk2=v2\r\n"), std::string("k1=v1\nk2=v2"), std::string("\r\rk1=v1\r\r\n\nk2=v2\r"),
          std::string("k1=v1\nk2=v2\n\0k3=v3\n", 20)}) {
        CaseSensitive loaded;
        CMemoryStream stream = MakeMemory(text);
        stream.Seek(3); // loading always starts at the stream's beginning
        loaded.LoadFromStream(stream);
        std::vector<std::string> lines;
        loaded.GetLines(lines);
        EXPECT_EQ(lines, (std::vector<std::string>{"k1=v1", "k2=v2"}));
    }
    // Case-insensitive keys keep their first spelling; saving writes sorted CR LF lines at the position.
    CaseInsensitive folded;
    CMemoryStream windowed = MakeMemory("Windowed=true\r\nWINDOWED=false\r\n");
    folded.LoadFromStream(windowed);
    EXPECT_THAT(folded.GetEntries(), ElementsAre(Pair("Windowed", "false")));
    CaseSensitive exact;
    exact.LoadFromStream(windowed);
    EXPECT_THAT(exact.GetEntries(), ElementsAre(Pair("WINDOWED", "false"), Pair("Windowed", "true")));
    EXPECT_EQ(folded.Get("windowed", "none") + exact.Get("windowed", "none"), "falsenone");
    // Keys compare lower-cased: "[" (0x5B) sorts before "Z" because "Z" counts as "z".
    comparator_for_properties::less_ignorecase less;
    EXPECT_EQ((std::vector<bool>{less("[", "Z"), less("[", "a"),
                                 less("\xC3\x84", "\xC3\xA4") == less("\xC3\xA4", "\xC3\x84")}),
              (std::vector<bool>{true, true, false}));
    // Saving writes lines sorted ignoring case, ending in CR LF, at the stream's position with no
    // prefix of its own; a key set again keeps its first spelling. Saving to and loading from files:
    // the display-mode preference's scenario (ApplicationDriverSeamTest.OneDriverReachesInjected...).
    CaseInsensitive table;
    table.ParseLines({"Old=1", "Keep=yes", "b=2", "a=1"});
    table.Set("OLD", "changed");
    CMemoryStream headed = MakeMemory("HEAD");
    headed.Seek(4);
    table.SaveToStream(headed);
    EXPECT_EQ(Contents(headed), "HEADa=1\r\nb=2\r\nKeep=yes\r\nOld=changed\r\n");
    // Loading adds to what is there.
    CaseInsensitive again;
    again.Set("Extra", "kept");
    again.LoadFromStream(windowed);
    EXPECT_EQ(again.Get("extra", "") + again.Get("windowed", ""), "keptfalse");
    again.Clear();
    EXPECT_TRUE(again.GetEntries().empty());
}
