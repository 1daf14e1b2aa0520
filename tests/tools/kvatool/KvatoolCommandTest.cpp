/** @file KvatoolCommandTest.cpp The kvatool program as the build and its users run it. */
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <map>
#include <sstream>

#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

extern char** environ;

namespace {

struct Result
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs the built kvatool with the arguments and collects its exit status and output.
Result RunKvatool(const std::vector<std::string>& args)
{
    korvane::test::TempDir capture;
    const std::string outPath = capture.File("out");
    const std::string errPath = capture.File("err");
    const std::string program = KORVANE_BINARY_DIR "/bin/kvatool";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    Result result;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        result.err = "cannot start " + program;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = korvane::test::TempDir::Read(outPath);
    result.err = korvane::test::TempDir::Read(errPath);
    return result;
}

class Kvatool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        binary_ = std::string("\0\1\2zero bytes\xff", 14);
        dir_.Write("src/Music/Theme.OGG", "OggS-not-really");
        dir_.Write("src/images/title.png", "png-bytes");
        dir_.Write("src/images/photo.jpg", "jpg");
        dir_.Write("src/text_en.properties", "title=Hello\r\n");
        dir_.Write("src/shader/canvas.vs", std::string(3000, 'v'));
        dir_.Write("src/blob.bin", binary_);
        dir_.Write("src/empty.txt", "");
        src_ = dir_.File("src");
        archive_ = dir_.File("data.kva");
    }

    /// Names of the files in the test folder (temporary files would show up here).
    std::vector<std::string> FolderNames() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    korvane::test::TempDir dir_;
    std::string src_;
    std::string archive_;
    std::string binary_;
};

} // namespace

TEST_F(Kvatool, PackThenListShowsSortedLowerCaseNamesAndMethods)
{
    const Result pack = RunKvatool({"pack", src_, archive_});
    ASSERT_EQ(pack.status, 0) << pack.err;
    EXPECT_EQ(pack.err, "");
    EXPECT_NE(pack.out.find("packed 7 files"), std::string::npos) << pack.out;

    const Result list = RunKvatool({"list", archive_});
    ASSERT_EQ(list.status, 0) << list.err;
    std::istringstream lines(list.out);
    std::vector<std::string> names, methods, unpacked;
    std::string name, method, stored, size;
    while (lines >> name >> method >> stored >> size) {
        names.push_back(name);
        methods.push_back(method);
        unpacked.push_back(size);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"blob.bin", "empty.txt", "images\\photo.jpg", "images\\title.png",
                                               "music\\theme.ogg", "shader\\canvas.vs", "text_en.properties"}));
    EXPECT_EQ(methods, (std::vector<std::string>{"0x101", "0x101", "0x0", "0x0", "0x0", "0x101", "0x101"}));
    EXPECT_EQ(unpacked, (std::vector<std::string>{"14", "0", "3", "9", "15", "3000", "13"}));
    EXPECT_NE(list.out.find("images\\title.png\t0x0\t9\t9\n"), std::string::npos) << list.out;
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"data.kva", "src"}));
}

TEST_F(Kvatool, ExtractWritesTheEntrysBytesInAnyCase)
{
    ASSERT_EQ(RunKvatool({"pack", src_, archive_}).status, 0);
    const Result blob = RunKvatool({"extract", archive_, "BLOB.bin"});
    EXPECT_EQ(blob.status, 0) << blob.err;
    EXPECT_EQ(blob.out, binary_);
    EXPECT_EQ(RunKvatool({"extract", archive_, "Shader\\Canvas.VS"}).out, std::string(3000, 'v'));
    const Result empty = RunKvatool({"extract", archive_, "empty.txt"});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");

    const Result missing = RunKvatool({"extract", archive_, "shader/canvas.vs"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("file entry not found: \"shader/canvas.vs\""), std::string::npos) << missing.err;
}

TEST_F(Kvatool, MethodsAreConfigurablePerExtension)
{
    const Result pack = RunKvatool({"pack", "--method", "properties=1", "--method", ".BIN=0x100", "--method", ".ogg=257",
                             src_, archive_});
    ASSERT_EQ(pack.status, 0) << pack.err;
    korvane::CArchiveFileLoader archive;
    archive.Open(archive_);
    std::map<std::string, std::int32_t> methods;
    for (std::int32_t i = 0; i < archive.GetEntryCount(); ++i) {
        methods[archive.GetEntry(i)->GetName()] = archive.GetEntry(i)->GetMethod();
    }
    EXPECT_EQ(methods["text_en.properties"], 1);
    EXPECT_EQ(methods["blob.bin"], 0x100);
    EXPECT_EQ(methods["music\\theme.ogg"], 0x101);
    EXPECT_EQ(methods["images\\title.png"], 0);

    const Result bad = RunKvatool({"pack", "--method", ".txt=2", src_, archive_});
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.err.find("unknown storage method '2'"), std::string::npos) << bad.err;
}

TEST_F(Kvatool, EveryPackHasFreshKeyMaterial)
{
    const std::string second = dir_.File("second.kva");
    ASSERT_EQ(RunKvatool({"pack", src_, archive_}).status, 0);
    ASSERT_EQ(RunKvatool({"pack", src_, second}).status, 0);
    const std::string a = korvane::test::TempDir::Read(archive_);
    const std::string b = korvane::test::TempDir::Read(second);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.substr(0, 18), b.substr(0, 18));
    EXPECT_NE(a.substr(18, 64), b.substr(18, 64)); // table counter block and seed
    EXPECT_NE(a.substr(82), b.substr(82));
    EXPECT_EQ(RunKvatool({"list", archive_}).out, RunKvatool({"list", second}).out);
}

TEST_F(Kvatool, NamesThatClashIgnoringCaseAreRefusedAndTheOldArchiveStays)
{
    ASSERT_EQ(RunKvatool({"pack", src_, archive_}).status, 0);
    const std::string before = korvane::test::TempDir::Read(archive_);
    dir_.Write("src/IMAGES/Title.png", "other");
    const Result clash = RunKvatool({"pack", src_, archive_});
    EXPECT_EQ(clash.status, 1);
    EXPECT_NE(clash.err.find("file names clash ignoring case"), std::string::npos) << clash.err;
    EXPECT_EQ(korvane::test::TempDir::Read(archive_), before);
    EXPECT_EQ(FolderNames(), (std::vector<std::string>{"data.kva", "src"}));
}

TEST_F(Kvatool, AnArchiveInsideTheFolderIsNotPackedIntoItself)
{
    const std::string inside = src_ + "/data.kva";
    ASSERT_EQ(RunKvatool({"pack", src_, inside}).status, 0);
    ASSERT_EQ(RunKvatool({"pack", src_, inside}).status, 0);
    EXPECT_EQ(RunKvatool({"list", inside}).out.find("data.kva"), std::string::npos);
}

TEST_F(Kvatool, UsageAndInputErrorsExitNonZeroWithAMessage)
{
    struct Case
    {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    dir_.Write("not-an-archive.kva", "this is text, not an archive");
    const std::vector<Case> cases = {
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
    for (const Case& c : cases) {
        const Result result = RunKvatool(c.args);
        EXPECT_EQ(result.status, c.status) << c.message;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.rfind("kvatool: ", 0), 0u) << result.err;
    }
    const Result usage = RunKvatool({});
    EXPECT_NE(usage.err.find("usage: kvatool pack"), std::string::npos);
}

TEST(KvatoolBuild, TheBuildPacksTheDataFolderBesideThePrograms)
{
    const std::string archive = KORVANE_BINARY_DIR "/bin/data.kva";
    ASSERT_TRUE(std::filesystem::exists(archive)) << archive;
    korvane::CArchiveFileLoader loader;
    loader.Open(archive);
    std::unique_ptr<korvane::IKorvaneStream> readme(loader.OpenEntry("README.txt"));
    std::string text(std::size_t(readme->GetSize()), '\0');
    readme->Read(text.data(), readme->GetSize());
    const std::filesystem::path source =
        (std::filesystem::path(__FILE__).parent_path() / "../../../data/README.txt").lexically_normal();
    EXPECT_EQ(text, korvane::test::TempDir::Read(source.string()));
}
