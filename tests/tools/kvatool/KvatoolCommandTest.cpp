/** @file KvatoolCommandTest.cpp The kvatool command line as the build and its users run it (the program's main only
 * hands its arguments and streams over), and the packer's own checks. */
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

using korvane::test::TempDir;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

namespace
{

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the command with the arguments and collects its exit status and output.
Result RunKvatool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = kvatool::RunCommand(args, out, err);
    return {status, out.str(), err.str()};
}

/// Names of the files in a folder, sorted (temporary files would show up here).
std::set<std::string> FolderNames(const TempDir& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.Path()))
        names.insert(entry.path().filename().string());
    return names;
}

/// A source folder of seven files, as the build packs them, and where its archive goes.
class KvatoolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"Music/Theme.OGG", "OggS-not-really"},
                                          {"images/title.png", "png-bytes"},
                                          {"images/photo.jpg", "jpg"},
                                          {"text_en.properties", "title=Hello\r\n"},
                                          {"shader/canvas.vs", std::string(3000, 'v')},
                                          {"blob.bin", binary},
                                          {"empty.txt", ""}})
            dir.Write("src/" + name, bytes);
    }

    TempDir dir;
    const std::string src = dir.File("src"), archive = dir.File("data.kva");
    const std::string binary{"\0\1\2zero bytes\xff", 14};
};

/// The source folder already packed into data.kva.
class KvatoolPackedTest : public KvatoolTest
{
protected:
    void SetUp() override
    {
        KvatoolTest::SetUp();
        const Result pack = RunKvatool({"pack", src, archive});
        ASSERT_EQ(pack.status, 0) << pack.err;
    }
};

} // namespace

TEST_F(KvatoolTest, PackWritesTheArchiveAndLeavesNothingElseBesideIt)
{
    const Result pack = RunKvatool({"pack", src, archive});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "");
    EXPECT_THAT(pack.out, HasSubstr("packed 7 files"));
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"data.kva", "src"}));
}

TEST_F(KvatoolPackedTest, ListShowsSortedLowerCaseNamesWithMethodAndSizeAndStoresCompressedFiles)
{
    const Result list = RunKvatool({"list", archive});
    ASSERT_EQ(list.status, 0) << list.err;
    std::istringstream lines(list.out);
    Names rows;
    for (std::string name, method, stored, size; lines >> name >> method >> stored >> size;)
        rows.push_back(name + " " + method + " " + size);
    EXPECT_EQ(rows,
              (Names{"blob.bin 0x101 14", "empty.txt 0x101 0", "images\\photo.jpg 0x0 3", "images\\title.png 0x0 9",
                     "music\\theme.ogg 0x0 15", "shader\\canvas.vs 0x101 3000", "text_en.properties 0x101 13"}));
    EXPECT_THAT(list.out, HasSubstr("images\\title.png\t0x0\t9\t9\n"));
}

TEST_F(KvatoolPackedTest, ExtractFindsNamesIgnoringCaseWithBackslashesOnly)
{
    const std::vector<std::tuple<std::string, int, std::string, std::string>> extracts = {
        {"BLOB.bin", 0, binary, ""},
        {"Shader\\Canvas.VS", 0, std::string(3000, 'v'), ""},
        {"empty.txt", 0, "", ""},
        {"shader/canvas.vs", 1, "", "file entry not found: \"shader/canvas.vs\""}};
    for (const auto& [name, status, bytes, message] : extracts) {
        const Result extract = RunKvatool({"extract", archive, name});
        EXPECT_EQ(extract.status, status) << name << extract.err;
        EXPECT_EQ(extract.out, bytes) << name;
        EXPECT_THAT(extract.err, HasSubstr(message));
    }
}

TEST_F(KvatoolPackedTest, EveryPackHasFreshKeyMaterialTheSameListingFromDifferentBytes)
{
    const std::string second = dir.File("second.kva");
    ASSERT_EQ(RunKvatool({"pack", src, second}).status, 0);
    const std::string a = TempDir::Read(archive), b = TempDir::Read(second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.substr(0, 18), b.substr(0, 18));
    EXPECT_NE(a.substr(18, 64), b.substr(18, 64)); // table counter block and seed
    EXPECT_NE(a.substr(82), b.substr(82));
    EXPECT_EQ(RunKvatool({"list", second}).out, RunKvatool({"list", archive}).out);
}

TEST_F(KvatoolTest, MethodsAreChosenPerExtensionFromTheCommandLine)
{
    const std::string methods = dir.File("methods.kva");
    const Result configured = RunKvatool(
        {"pack", "--method", "properties=1", "--method", ".BIN=0x100", "--method", ".ogg=257", src, methods});
    ASSERT_EQ(configured.status, 0) << configured.err;
    EXPECT_THAT(RunKvatool({"list", methods}).out,
                ::testing::AllOf(HasSubstr("text_en.properties\t0x1\t"), HasSubstr("blob.bin\t0x100\t"),
                                 HasSubstr("music\\theme.ogg\t0x101\t"), HasSubstr("images\\title.png\t0x0\t")));
}

TEST_F(KvatoolTest, AnArchiveInsideTheFolderIsNotPackedIntoItself)
{
    const std::string inside = src + "/data.kva";
    ASSERT_EQ(RunKvatool({"pack", src, inside}).status, 0);
    ASSERT_EQ(RunKvatool({"pack", src, inside}).status, 0);
    EXPECT_THAT(RunKvatool({"list", inside}).out, Not(HasSubstr("data.kva")));
}

TEST_F(KvatoolPackedTest, NamesThatClashIgnoringCaseAreRefusedAndTheOldArchiveStays)
{
    ASSERT_EQ(RunKvatool({"pack", src, dir.File("second.kva")}).status, 0); // another archive beside it
    const std::string before = TempDir::Read(archive);
    dir.Write("src/IMAGES/Title.png", "other");
    const Result clash = RunKvatool({"pack", src, archive});
    EXPECT_EQ(clash.status, 1);
    EXPECT_THAT(clash.err, HasSubstr("file names clash ignoring case"));
    EXPECT_EQ(TempDir::Read(archive), before);
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"data.kva", "second.kva", "src"}));
}

// As the build packs data/ with the generated folders.
TEST_F(KvatoolTest, SeveralFoldersMergeIntoOneArchiveAndNamesClashingAcrossThemAreRefused)
{
    dir.Write("more/fonts/x.png", "two");
    const std::vector<std::string> merge = {"pack", src, dir.File("more"), dir.File("merged.kva")};
    ASSERT_EQ(RunKvatool(merge).status, 0);
    EXPECT_THAT(RunKvatool({"list", dir.File("merged.kva")}).out,
                ::testing::AllOf(HasSubstr("fonts\\x.png\t"), HasSubstr("blob.bin\t")));
    dir.Write("more/BLOB.BIN", "clash");
    const Result refused = RunKvatool(merge);
    EXPECT_EQ(refused.status, 1);
    EXPECT_THAT(refused.err, HasSubstr("file names clash ignoring case"));
}

TEST_F(KvatoolPackedTest, UsageAndInputErrorsExitWithTheirStatusAndMessage)
{
    dir.Write("not-an-archive.kva", "this is text, not an archive");
    const std::vector<std::tuple<std::vector<std::string>, int, std::string>> errors = {
        {{}, 2, "no command given"},
        {{"squash", src}, 2, "unknown command 'squash'"},
        {{"pack", src}, 2, "pack needs DIR and ARCHIVE"},
        {{"pack", "--level", "9", src, archive}, 2, "unknown option '--level'"},
        {{"pack", "--method", "txt", src, archive}, 2, "--method needs EXT=METHOD"},
        {{"pack", "--method", ".txt=2", src, archive}, 1, "unknown storage method '2'"},
        {{"pack", dir.File("nowhere"), archive}, 1, "is not a folder"},
        {{"pack", src, dir.File("no/such/folder/out.kva")}, 1, "cannot create a temporary file"},
        {{"list"}, 2, "list needs ARCHIVE"},
        {{"list", dir.File("absent.kva")}, 1, "Cannot open file: \""},
        {{"list", dir.File("not-an-archive.kva")}, 1, "file header error"},
        {{"extract", archive}, 2, "extract needs ARCHIVE and NAME"},
    };
    for (const auto& [args, status, message] : errors) {
        SCOPED_TRACE(message);
        const Result result = RunKvatool(args);
        EXPECT_EQ(result.status, status);
        EXPECT_THAT(result.err, HasSubstr(message));
        EXPECT_THAT(result.err, StartsWith("kvatool: "));
    }
    EXPECT_THAT(RunKvatool({}).err, HasSubstr("usage: kvatool pack"));
}

TEST_F(KvatoolPackedTest, VerificationAgainstTheSourcesFindsAChangedAndAMissingFile)
{
    std::vector<kvatool::SourceFile> files = kvatool::CollectFiles(src);
    kvatool::LoadFiles(files);
    EXPECT_NO_THROW(kvatool::VerifyArchive(archive, files));
    files[1].data = "BRAVO";
    EXPECT_THROW(kvatool::VerifyArchive(archive, files), kvatool::Error);
    files.pop_back();
    EXPECT_THAT([&] { kvatool::VerifyArchive(archive, files); },
                ::testing::ThrowsMessage<kvatool::Error>(HasSubstr("holds 7 entries instead of 6")));
}

TEST_F(KvatoolPackedTest, TheAtomicWriteKeepsTheOldFileWhenTheCheckFailsAndLeavesNoTemporaryFile)
{
    // The folder holds other archives and folders beside the target.
    for (const char* other : {"second.kva", "merged.kva", "not-an-archive.kva", "more/fonts/x.png"})
        dir.Write(other, "other");
    const std::string target = dir.Write("out.kva", "old");
    auto failingCheck = [](const std::string&) { throw kvatool::Error("check failed"); };
    EXPECT_THROW(kvatool::WriteFileAtomically(target, "new", failingCheck), kvatool::Error);
    EXPECT_EQ(TempDir::Read(target), "old");
    kvatool::WriteFileAtomically(target, "new");
    EXPECT_EQ(TempDir::Read(target), "new");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"data.kva", "merged.kva", "more", "not-an-archive.kva",
                                                       "out.kva", "second.kva", "src"}));
}

TEST(Kvatool, TheMethodIsChosenByTheFileNamesOwnExtensionAndBadMethodTextsAreRefused)
{
    const kvatool::PackOptions options;
    EXPECT_EQ(kvatool::ChooseMethod("folder.png\\noext", options), 0x101);
    EXPECT_EQ(kvatool::ChooseMethod("Title.PNG", options), 0);
    for (const char* text : {"0x102", "1x", ""})
        EXPECT_THROW(kvatool::ParseMethod(text), kvatool::Error) << text;
}
