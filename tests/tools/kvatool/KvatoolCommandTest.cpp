/** @file KvatoolCommandTest.cpp The kvatool program as the build and its users run it, and the packer's own checks. */
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using korvane::test::TempDir;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using Names = std::vector<std::string>;

namespace
{

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the built kvatool with the arguments and collects its exit status and output.
Result RunKvatool(const std::vector<std::string>& args)
{
    TempDir capture;
    std::string command = "'" KORVANE_BINARY_DIR "/bin/kvatool'";
    for (const std::string& arg : args) {
        command += " '";
        for (char c : arg)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    command += " >'" + capture.File("out") + "' 2>'" + capture.File("err") + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TempDir::Read(capture.File("out")),
            TempDir::Read(capture.File("err"))};
}

/// Names of the files in a folder, sorted (temporary files would show up here).
Names FolderNames(const TempDir& dir)
{
    Names names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class Kvatool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"Music/Theme.OGG", "OggS-not-really"},
                                          {"images/title.png", "png-bytes"},
                                          {"images/photo.jpg", "jpg"},
                                          {"text_en.properties", "title=Hello\r\n"},
                                          {"shader/canvas.vs", std::string(3000, 'v')},
                                          {"blob.bin", binary_},
                                          {"empty.txt", ""}})
            dir_.Write("src/" + name, bytes);
    }

    TempDir dir_;
    const std::string src_ = dir_.File("src");
    const std::string archive_ = dir_.File("data.kva");
    const std::string binary_ = std::string("\0\1\2zero bytes\xff", 14);
};

} // namespace

TEST_F(Kvatool, PackListAndExtractInAnyCaseWithFreshKeysEachPack)
{
    const Result pack = RunKvatool({"pack", src_, archive_});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "");
    EXPECT_THAT(pack.out, HasSubstr("packed 7 files"));
    EXPECT_EQ(FolderNames(dir_), (Names{"data.kva", "src"}));

    const Result list = RunKvatool({"list", archive_});
    ASSERT_EQ(list.status, 0) << list.err;
    // Sorted lower-case names with method and unpacked size; files compressed already are stored.
    std::istringstream lines(list.out);
    Names rows;
    for (std::string name, method, stored, size; lines >> name >> method >> stored >> size;)
        rows.push_back(name + " " + method + " " + size);
    EXPECT_EQ(rows,
              (Names{"blob.bin 0x101 14", "empty.txt 0x101 0", "images\\photo.jpg 0x0 3", "images\\title.png 0x0 9",
                     "music\\theme.ogg 0x0 15", "shader\\canvas.vs 0x101 3000", "text_en.properties 0x101 13"}));
    EXPECT_THAT(list.out, HasSubstr("images\\title.png\t0x0\t9\t9\n"));

    const std::vector<std::tuple<std::string, int, std::string, std::string>> extracts = {
        {"BLOB.bin", 0, binary_, ""},
        {"Shader\\Canvas.VS", 0, std::string(3000, 'v'), ""},
        {"empty.txt", 0, "", ""},
        {"shader/canvas.vs", 1, "", "file entry not found: \"shader/canvas.vs\""}};
    for (const auto& [name, status, bytes, message] : extracts) {
        const Result extract = RunKvatool({"extract", archive_, name});
        EXPECT_EQ(extract.status, status) << name << extract.err;
        EXPECT_EQ(extract.out, bytes) << name;
        EXPECT_THAT(extract.err, HasSubstr(message));
    }

    // Every pack has fresh key material: the same listing from different bytes.
    const std::string second = dir_.File("second.kva");
    ASSERT_EQ(RunKvatool({"pack", src_, second}).status, 0);
    const std::string a = TempDir::Read(archive_), b = TempDir::Read(second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.substr(0, 18), b.substr(0, 18));
    EXPECT_NE(a.substr(18, 64), b.substr(18, 64)); // table counter block and seed
    EXPECT_NE(a.substr(82), b.substr(82));
    EXPECT_EQ(RunKvatool({"list", second}).out, list.out);
}

TEST_F(Kvatool, MethodsAreConfigurablePerExtension)
{
    const Result pack = RunKvatool(
        {"pack", "--method", "properties=1", "--method", ".BIN=0x100", "--method", ".ogg=257", src_, archive_});
    ASSERT_EQ(pack.status, 0) << pack.err;
    const std::string listing = RunKvatool({"list", archive_}).out;
    EXPECT_THAT(listing,
                ::testing::AllOf(HasSubstr("text_en.properties\t0x1\t"), HasSubstr("blob.bin\t0x100\t"),
                                 HasSubstr("music\\theme.ogg\t0x101\t"), HasSubstr("images\\title.png\t0x0\t")));
    const Result bad = RunKvatool({"pack", "--method", ".txt=2", src_, archive_});
    EXPECT_NE(bad.status, 0);
    EXPECT_THAT(bad.err, HasSubstr("unknown storage method '2'"));
}

TEST_F(Kvatool, NamesThatClashIgnoringCaseAreRefusedAndTheOldArchiveStays)
{
    ASSERT_EQ(RunKvatool({"pack", src_, archive_}).status, 0);
    const std::string before = TempDir::Read(archive_);
    dir_.Write("src/IMAGES/Title.png", "other");
    const Result clash = RunKvatool({"pack", src_, archive_});
    EXPECT_EQ(clash.status, 1);
    EXPECT_THAT(clash.err, HasSubstr("file names clash ignoring case"));
    EXPECT_EQ(TempDir::Read(archive_), before);
    EXPECT_EQ(FolderNames(dir_), (Names{"data.kva", "src"}));
}

TEST_F(Kvatool, AnArchiveInsideTheFolderIsNotPackedIntoItself)
{
    const std::string inside = src_ + "/data.kva";
    ASSERT_EQ(RunKvatool({"pack", src_, inside}).status, 0);
    ASSERT_EQ(RunKvatool({"pack", src_, inside}).status, 0);
    EXPECT_THAT(RunKvatool({"list", inside}).out, Not(HasSubstr("data.kva")));
}

TEST_F(Kvatool, UsageAndInputErrorsExitNonZeroWithAMessage)
{
    dir_.Write("not-an-archive.kva", "this is text, not an archive");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> cases = {
        {{}, 2, "no command given"},
        {{"squash", src_}, 2, "unknown command 'squash'"},
        {{"pack", src_}, 2, "pack needs DIR and ARCHIVE"},
        {{"pack", "--level", "9", src_, archive_}, 2, "unknown option '--level'"},
        {{"pack", "--method", "txt", src_, archive_}, 2, "--method needs EXT=METHOD"},
        {{"pack", dir_.File("nowhere"), archive_}, 1, "is not a folder"},
        {{"pack", src_, dir_.File("no/such/folder/out.kva")}, 1, "cannot create a temporary file"},
        {{"list"}, 2, "list needs ARCHIVE"},
        {{"list", dir_.File("absent.kva")}, 1, "Cannot open file: \""},
        {{"list", dir_.File("not-an-archive.kva")}, 1, "file header error"},
        {{"extract", archive_}, 2, "extract needs ARCHIVE and NAME"},
    };
    for (const auto& [args, status, message] : cases) {
        SCOPED_TRACE(message);
        const Result result = RunKvatool(args);
        EXPECT_EQ(result.status, status);
        EXPECT_THAT(result.err, HasSubstr(message));
        EXPECT_THAT(result.err, StartsWith("kvatool: "));
    }
    EXPECT_THAT(RunKvatool({}).err, HasSubstr("usage: kvatool pack"));
}

TEST(KvatoolPacker, VerificationCatchesAnArchiveThatDoesNotMatchItsSources)
{
    TempDir dir;
    dir.Write("src/a.txt", "alpha");
    dir.Write("src/b.png", "bravo");
    std::vector<kvatool::SourceFile> files = kvatool::CollectFiles(dir.File("src"));
    kvatool::LoadFiles(files);
    kvatool::PackOptions options;
    options.random = [](std::uint8_t* buffer, std::size_t size) { std::fill(buffer, buffer + size, std::uint8_t(0)); };
    const std::string path = dir.Write("a.kva", kvatool::BuildArchive(files, options));
    EXPECT_NO_THROW(kvatool::VerifyArchive(path, files));

    files[1].data = "BRAVO";
    EXPECT_THROW(kvatool::VerifyArchive(path, files), kvatool::Error);
    files.pop_back();
    EXPECT_THAT([&] { kvatool::VerifyArchive(path, files); },
                ::testing::ThrowsMessage<kvatool::Error>(HasSubstr("holds 2 entries instead of 1")));
}

TEST(KvatoolPacker, AFailedCheckLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const std::string target = dir.Write("out.kva", "old");
    auto failingCheck = [](const std::string&) { throw kvatool::Error("check failed"); };
    EXPECT_THROW(kvatool::WriteFileAtomically(target, "new", failingCheck), kvatool::Error);
    EXPECT_EQ(TempDir::Read(target), "old");
    kvatool::WriteFileAtomically(target, "new");
    EXPECT_EQ(TempDir::Read(target), "new");
    EXPECT_EQ(FolderNames(dir), Names{"out.kva"});
}

TEST(KvatoolPacker, MethodsFollowTheFileNamesOwnExtensionOnly)
{
    // The defaults and the configured methods are checked through the command line; here
    // only what the command line cannot show: a dot in a folder name is no extension, and
    // method texts with trailing junk or unknown values are refused.
    kvatool::PackOptions options;
    EXPECT_EQ(kvatool::ChooseMethod("folder.png\\noext", options), 0x101);
    EXPECT_EQ(kvatool::ChooseMethod("Title.PNG", options), 0);
    for (const char* text : {"0x102", "1x", ""})
        EXPECT_THROW(kvatool::ParseMethod(text), kvatool::Error) << text;
}
