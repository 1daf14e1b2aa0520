/** @file StreamTest.cpp Memory, file and partition streams over real files in a temporary folder. */
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <memory>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePartitionStream.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "StreamTestSupport.h"
#include "support/TempDir.h"

using namespace korvane;
using korvane::test::Contents;
using korvane::test::EntryCount;
using korvane::test::ExpectThrowWith;
using korvane::test::MakeMemory;
using korvane::test::TempDir;

namespace
{

std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

void WriteAllTypes(IKorvaneStream& s)
{
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
    s.WriteString("abc");
}

void CheckAllTypes(IKorvaneStream& s)
{
    EXPECT_EQ(s.ReadInt8(), -2);
    EXPECT_EQ(s.ReadInt16(), -300);
    EXPECT_EQ(s.ReadInt32(), -70000);
    EXPECT_EQ(s.ReadInt64(), -5000000000LL);
    EXPECT_EQ(s.ReadUInt8(), 0xFE);
    EXPECT_EQ(s.ReadUInt16(), 0xBEEF);
    EXPECT_EQ(s.ReadUInt32(), 0xDEADBEEFu);
    EXPECT_EQ(s.ReadUInt64(), 0x0123456789ABCDEFULL);
    EXPECT_EQ(s.ReadFloat(), 1.5f);
    EXPECT_EQ(s.ReadDouble(), -0.125);
    std::string text;
    s.ReadString(text);
    EXPECT_EQ(text, "abc");
}

const std::string kAllTypesBytes =
    std::string("\xFE", 1) + "\xD4\xFE" + "\x90\xEE\xFE\xFF" + std::string("\x00\x0E\xFA\xD5\xFE\xFF\xFF\xFF", 8) +
    "\xFE" + "\xEF\xBE" + "\xEF\xBE\xAD\xDE" + "\xEF\xCD\xAB\x89\x67\x45\x23\x01" + std::string("\x00\x00\xC0\x3F", 4) +
    std::string("\x00\x00\x00\x00\x00\x00\xC0\xBF", 8) + std::string("\x03\x00\x00\x00", 4) + "abc";

} // namespace

// ---- typed values and strings -------------------------------------------------------

TEST(StreamValues, TypedValuesAreLittleEndian)
{
    // The typed values are the base stream's, over each stream's own byte reads and writes.
    CMemoryStream memory;
    WriteAllTypes(memory);
    EXPECT_EQ(Contents(memory), kAllTypesBytes);
    memory.Seek(0);
    CheckAllTypes(memory);

    // A typed read past the end yields its missing bytes as zero.
    CMemoryStream shortData = MakeMemory("\x34\x12");
    EXPECT_EQ(shortData.ReadUInt32(), 0x1234u);
    EXPECT_EQ(shortData.ReadUInt64(), 0u);
}

TEST(StreamValues, StringsKeepTheirWireFormatAndRefuseLengthsBeyondTheData)
{
    CMemoryStream written;
    EXPECT_EQ(written.WriteString("abc"), 7);
    EXPECT_EQ(Contents(written), std::string("\x03\x00\x00\x00"
                                             "abc",
                                             7));

    struct Case
    {
        std::string bytes;
        const char* text;      ///< nullptr: EReadError and the output untouched
        std::int32_t position; ///< after a successful read
    };
    std::vector<Case> cases = {
        {std::string("\0\0\0\0", 4), "", 4},
        {std::string("\x03\x00\x00\x00"
                     "a\0b"
                     "tail",
                     11),
         "a", 7}, // ends at the first zero
    };
    for (std::int32_t count : {-1, INT_MIN, INT_MAX, 5})
        cases.push_back({test::Le32(static_cast<std::uint32_t>(count)) + "abcd", nullptr, 0});
    // Every cut of a good string: with no count at all the zero-filled count reads as empty.
    const std::string seven("\x07\x00\x00\x00"
                            "seven!!",
                            11);
    for (std::size_t cut = 0; cut <= seven.size(); ++cut)
        cases.push_back({seven.substr(0, cut),
                         cut == 0              ? ""
                         : cut == seven.size() ? "seven!!"
                                               : nullptr,
                         static_cast<std::int32_t>(cut)});
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        CMemoryStream stream = MakeMemory(c.bytes);
        std::string out = "keep";
        if (!c.text) {
            EXPECT_THROW(stream.ReadString(out), EReadError);
            EXPECT_EQ(out, "keep");
            continue;
        }
        stream.ReadString(out);
        EXPECT_EQ(out, c.text);
        EXPECT_EQ(stream.GetPosition(), c.position);
    }
}

// ---- what every readable stream shares -------------------------------------------------

TEST(StreamBasics, SeekReadAndCloneAlikeForEveryStream)
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
        EXPECT_EQ(stream->GetSize(), 10);
        char buffer[16] = {'c', 'c', 'c', 'c'};
        EXPECT_EQ(stream->Read(buffer, -1), 0);
        EXPECT_EQ(stream->Read(buffer, INT_MIN), 0);
        EXPECT_EQ(stream->Read(nullptr, 0), 0);
        EXPECT_EQ(std::string(buffer, 4), "cccc");
        EXPECT_EQ(stream->GetPosition(), 0);
        EXPECT_EQ(stream->Seek(-5), 0);
        EXPECT_EQ(stream->Seek(20), 10);
        EXPECT_EQ(stream->Read(buffer, 16), 0);

        stream->Seek(4);
        std::unique_ptr<IKorvaneStream> clone(stream->Clone());
        EXPECT_EQ(clone->GetPosition(), 4);
        EXPECT_EQ(clone->GetSize(), 10);
        EXPECT_EQ(clone->Read(buffer, 16), 6);
        EXPECT_EQ(std::string(buffer, 6), "456789");
        EXPECT_EQ(clone->Read(buffer, 16), 0);
        EXPECT_EQ(stream->GetPosition(), 4);
        EXPECT_EQ(stream->Read(buffer, 3), 3);
        EXPECT_EQ(std::string(buffer, 3), "456");
        stream->Seek(0);
        EXPECT_EQ(stream->Read(buffer, 16), 10);
        EXPECT_EQ(std::string(buffer, 10), "0123456789");
    }
}

// ---- memory stream --------------------------------------------------------------------

TEST(MemoryStream, SizeChangesZeroFillAndKeepThePosition)
{
    CMemoryStream stream = MakeMemory("abcdef");
    EXPECT_EQ(stream.Write("x", -1), 0);
    stream.SetSize(-3);
    EXPECT_EQ(Contents(stream), "abcdef");
    EXPECT_EQ(stream.GetPosition(), 0);
    stream.Seek(6);
    stream.SetSize(2);
    EXPECT_EQ(stream.GetPosition(), 6);
    stream.Write("Z", 1);
    EXPECT_EQ(Contents(stream), std::string("ab\0\0\0\0Z", 7));
    stream.SetSize(10);
    EXPECT_EQ(Contents(stream), std::string("ab\0\0\0\0Z\0\0\0", 10));
    stream.SetSize(0);
    EXPECT_EQ(stream.GetSize(), 0);
    EXPECT_EQ(stream.GetBuffer(), nullptr);
}

namespace
{
class ExhaustedMemoryStream : public CMemoryStream
{
public:
    std::size_t limit = SIZE_MAX;

protected:
    void* Reallocate(void* block, std::size_t bytes) override
    {
        return bytes > limit ? nullptr : CMemoryStream::Reallocate(block, bytes);
    }
};
} // namespace

TEST(MemoryStream, FailedGrowthKeepsTheOldContents)
{
    ExhaustedMemoryStream stream;
    stream.Write("abcd", 4);
    stream.limit = 4;
    EXPECT_EQ(stream.Write("efgh", 4), 0);
    stream.SetSize(100);
    EXPECT_EQ(stream.GetSize(), 4);
    EXPECT_EQ(Contents(stream), "abcd");
    EXPECT_EQ(stream.WriteInt32(7), 0);
    CMemoryStream source = MakeMemory("0123456789");
    stream.Seek(0);
    // The copy reports that nothing arrived rather than the size it meant to copy.
    EXPECT_EQ(stream.CopyFrom(source, 0), 0);
    EXPECT_EQ(Contents(stream), "abcd");
}

TEST(MemoryStream, CloneOwnsItsBytes)
{
    CMemoryStream stream = MakeMemory("hello");
    std::unique_ptr<CMemoryStream> clone(stream.Clone());
    clone->Write("p!", 2);
    EXPECT_EQ(Contents(stream), "hello");
    EXPECT_NE(clone->GetBuffer(), stream.GetBuffer());
}

// ---- copying --------------------------------------------------------------------------

TEST(StreamCopy, CopiesOnlyWhatIsLeftOrWhatReallyArrives)
{
    CMemoryStream source = MakeMemory("0123456789");
    source.Seek(6);
    CMemoryStream target = MakeMemory("ab");
    target.Seek(1);
    EXPECT_EQ(target.CopyFrom(source, 100), 4);
    EXPECT_EQ(Contents(target), "a6789");
    EXPECT_EQ(target.CopyFrom(source, -1), 0);
    EXPECT_EQ(target.CopyFrom(source, INT_MIN), 0);
    EXPECT_EQ(Contents(target), "a6789");

    // A source delivering at most 1000 bytes per call: the copy stops at the first short
    // read, reports what it really copied and never writes unread bytes.
    const std::string data = Pattern(20000);
    test::StingyStream stingy(data, 1000);
    CMemoryStream copy;
    EXPECT_EQ(copy.CopyFrom(stingy, 0), 1000);
    EXPECT_EQ(Contents(copy), data.substr(0, 1000));
}

TEST(StreamCopy, WholeSourcesBetweenFilesPartitionsAndMemory)
{
    TempDir dir;
    const std::string data = Pattern(70000);
    const std::string path = dir.Write("source.bin", data);

    // Size 0 copies the whole source from its start, whatever its position.
    CFileStream file(path, 1, 1);
    file.Seek(500);
    CMemoryStream memory;
    EXPECT_EQ(memory.CopyFrom(file, 0), 70000);
    EXPECT_EQ(Contents(memory), data);
    EXPECT_EQ(file.GetPosition(), 70000);
    EXPECT_EQ(memory.GetPosition(), 70000);

    {
        CFileStream out(dir.File("copy.bin"), 0, 0);
        EXPECT_EQ(out.CopyFrom(memory, 0), 70000);
    }
    EXPECT_EQ(TempDir::Read(dir.File("copy.bin")), data);

    CFilePartitionStream window(path, 12345, 20000);
    CMemoryStream part;
    EXPECT_EQ(part.CopyFrom(window, 0), 20000);
    EXPECT_EQ(Contents(part), data.substr(12345, 20000));

    // A window that claims more than the file holds copies only what exists.
    CFilePartitionStream beyond(path, 60000, 50000);
    CMemoryStream tail;
    EXPECT_EQ(tail.CopyFrom(beyond, 0), 10000);
    EXPECT_EQ(Contents(tail), data.substr(60000));
}

// ---- file stream ----------------------------------------------------------------------

TEST(FileStream, OpenFailuresLogTheSystemErrorAndWriteNothing)
{
    TempDir dir;
    test::LogCapture log;
    const std::string path = dir.File("missing.bin");
    ExpectThrowWith<EFileOpenError>([&] { CFileStream stream(path, 1, 1); }, "Cannot open file: \"" + path + "\"",
                                    "class korvane::CFileStream");
    ASSERT_FALSE(log.Lines().empty());
    EXPECT_NE(log.Lines().front().find("Win32Error(0x2)"), std::string::npos) << log.All();

    EXPECT_THROW(CFileStream(dir.File("no/such/dir.bin"), 0, 0), EFileOpenError);
    // A folder is no file in any mode, and replacing one must fail before anything is written.
    dir.Write("folder/inside.txt", "x");
    for (std::int32_t mode : {0, 1, 2, 3})
        EXPECT_THROW(CFileStream(dir.File("folder"), mode, 1), EFileOpenError) << mode;
    EXPECT_EQ(TempDir::Read(dir.File("folder/inside.txt")), "x");
    EXPECT_EQ(EntryCount(dir.Path()), 1);
}

TEST(FileStream, WritingModesSeekPastTheEndAndWorkInPlace)
{
    TempDir dir;
    CFileStream writer(dir.File("new.bin"), 0, 0);
    EXPECT_EQ(writer.Seek(100), 100);
    writer.Write("x", 1);
    EXPECT_EQ(writer.GetSize(), 101);
    writer.Close();
    EXPECT_EQ(TempDir::Read(dir.File("new.bin")), std::string(100, '\0') + "x");

    const std::string path = dir.Write("rw.bin", "0123456789");
    {
        CFileStream stream(path, 3, 0);
        EXPECT_EQ(stream.GetSize(), 10);
        stream.Seek(4);
        stream.Write("AB", 2);
        stream.SetSize(8);
        EXPECT_EQ(stream.GetPosition(), 6);
        // Visible at once: mode 3 writes the file itself.
        EXPECT_EQ(TempDir::Read(path), "0123AB67");
    }
    CFileStream created(dir.File("created.bin"), 3, 0);
    EXPECT_EQ(created.GetSize(), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("created.bin")));
}

TEST(FileStream, ClosedAndWriteOnlyStreamsRefuseTheWrongAccess)
{
    TempDir dir;
    CFileStream stream(dir.Write("data.bin", "0123456789"), 1, 1);
    test::LogCapture log;
    char buffer[4];
    stream.Close();
    EXPECT_FALSE(stream.IsOpen());
    stream.Close();
    EXPECT_THROW(stream.Read(buffer, 4), EReadError);

    CFileStream writer(dir.File("w.bin"), 0, 0);
    writer.Write("abcd", 4);
    writer.Seek(0);
    EXPECT_THROW(writer.Read(buffer, 4), EReadError);
    writer.Close();
    EXPECT_THROW(writer.Write("x", 1), EWriteError);
    EXPECT_THROW(writer.SetSize(3), EWriteError);
}

TEST(FileStream, BackslashPathsAndLastWriteTimeAsAWindowsFileTime)
{
    TempDir dir;
    const std::string path = dir.Write("sub/t.bin", "xy");
    // 2000-01-01 00:00:00.5 UTC is 125911584005000000 in 100 ns steps since 1601.
    const struct timespec times[2] = {{946684800, 500000000}, {946684800, 500000000}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    CFileStream stream(dir.Path() + "sub\\t.bin", 1, 1);
    EXPECT_EQ(stream.GetSize(), 2);
    EXPECT_EQ(stream.GetLastWriteTime(), 125911584005000000ull);
}

// ---- replacing writes -----------------------------------------------------------------

TEST(FileStreamReplace, OldFileStaysUntilCloseThenIsReplacedKeepingModeAndLinks)
{
    TempDir dir;
    const std::string path = dir.Write("settings.ini", "old contents");
    ::chmod(path.c_str(), 0640);
    {
        CFileStream stream(path, 0, 0);
        stream.Write("new", 3);
        EXPECT_EQ(TempDir::Read(path), "old contents");
        stream.Close();
        EXPECT_EQ(TempDir::Read(path), "new");
    }
    struct stat info;
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(EntryCount(dir.Path()), 1);

    // A link is followed and stays a link.
    std::filesystem::create_symlink(path, dir.File("link.ini"));
    {
        CFileStream stream(dir.File("link.ini"), 0, 0);
        stream.Write("linked", 6);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.ini")));
    EXPECT_EQ(TempDir::Read(path), "linked");
}

TEST(FileStreamReplace, DestructorCommitsButAnExceptionLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.Write("prefs.dat", "old");
    test::LogCapture log;
    try {
        CFileStream stream(path, 0, 0);
        stream.Write("half", 4);
        throw EWriteError(nullptr, "serialisation failed");
    } catch (const EWriteError&) {
    }
    EXPECT_EQ(TempDir::Read(path), "old");
    EXPECT_EQ(EntryCount(dir.Path()), 1);
    {
        CFileStream stream(path, 2, 1);
        stream.WriteString("saved");
    }
    EXPECT_EQ(TempDir::Read(path), std::string("\x05\0\0\0saved", 9));
}

TEST(FileStreamReplace, ProcessDyingMidWriteLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.Write("save.dat", "old save");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Simulates a crash: the stream is never closed or destroyed.
        auto* stream = new CFileStream(path, 0, 0);
        stream->Write("torn", 4);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(TempDir::Read(path), "old save");
}

TEST(FileStreamReplace, CloneOfAWriteStreamNeverTruncates)
{
    TempDir dir;
    const std::string path = dir.Write("out.bin", "previous");
    CFileStream stream(path, 0, 0);
    stream.Write("0123456789", 10);
    {
        std::unique_ptr<CFileStream> clone(stream.Clone());
        EXPECT_EQ(clone->GetPosition(), 10);
        EXPECT_EQ(clone->GetSize(), 10);
        clone->Seek(2);
        clone->Write("ab", 2);
    }
    // The clone neither truncated nor committed the pending data.
    EXPECT_EQ(TempDir::Read(path), "previous");
    stream.Close();
    EXPECT_EQ(TempDir::Read(path), "01ab456789");

    // A clone of a committed stream still keeps the content.
    std::unique_ptr<CFileStream> late(stream.Clone());
    EXPECT_EQ(late->GetSize(), 10);
    late.reset();
    EXPECT_EQ(TempDir::Read(path), "01ab456789");
}

// ---- partition stream -----------------------------------------------------------------

TEST(PartitionStream, RefusesWritesAndBadWindows)
{
    TempDir dir;
    const std::string path = dir.Write("archive.kva", "0123456789");
    CFilePartitionStream stream(path, 2, 5);
    ExpectThrowWith<EInvalidOperation>([&] { stream.Write("x", 1); }, "Cannot write to CFilePartitionStream",
                                       "class korvane::CFilePartitionStream");
    EXPECT_THROW(stream.SetSize(1), EInvalidOperation);
    EXPECT_THROW(stream.WriteInt32(1), EInvalidOperation);
    EXPECT_EQ(TempDir::Read(path), "0123456789");
    EXPECT_GT(std::unique_ptr<CFilePartitionStream>(stream.Clone())->GetLastWriteTime(), 0u);

    EXPECT_THROW(CFilePartitionStream(path, -1, 5), EInvalidParameter);
    test::LogCapture log;
    const std::string missing = dir.File("none.kva");
    ExpectThrowWith<EFileOpenError>([&] { CFilePartitionStream none(missing, 0, 1); },
                                    "Cannot open file: \"" + missing + "\"", "class korvane::CFileStream");
}
