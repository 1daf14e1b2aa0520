/** @file PackerLibraryTest.cpp The packer's own checks: verification against the sources and atomic replacement. */
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace {

kvatool::RandomSource Zeros()
{
    return [](std::uint8_t* buffer, std::size_t size) { std::fill(buffer, buffer + size, std::uint8_t(0)); };
}

} // namespace

TEST(KvatoolPacker, VerificationCatchesAnArchiveThatDoesNotMatchItsSources)
{
    korvane::test::TempDir dir;
    dir.Write("src/a.txt", "alpha");
    dir.Write("src/b.png", "bravo");
    std::vector<kvatool::SourceFile> files = kvatool::CollectFiles(dir.File("src"));
    kvatool::LoadFiles(files);
    kvatool::PackOptions options;
    options.random = Zeros();
    const std::string path = dir.Write("a.kva", kvatool::BuildArchive(files, options));
    EXPECT_NO_THROW(kvatool::VerifyArchive(path, files));

    files[1].data = "BRAVO";
    EXPECT_THROW(kvatool::VerifyArchive(path, files), kvatool::Error);
    files.pop_back();
    try {
        kvatool::VerifyArchive(path, files);
        FAIL() << "a missing entry went unnoticed";
    } catch (const kvatool::Error& error) {
        EXPECT_NE(std::string(error.what()).find("holds 2 entries instead of 1"), std::string::npos) << error.what();
    }
}

TEST(KvatoolPacker, AFailedCheckLeavesTheOldFileAndNoTemporaryFile)
{
    korvane::test::TempDir dir;
    const std::string target = dir.Write("out.kva", "old");
    EXPECT_THROW(kvatool::WriteFileAtomically(target, "new",
                                              [](const std::string&) { throw kvatool::Error("check failed"); }),
                 kvatool::Error);
    EXPECT_EQ(korvane::test::TempDir::Read(target), "old");
    kvatool::WriteFileAtomically(target, "new");
    EXPECT_EQ(korvane::test::TempDir::Read(target), "new");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
        ++files;
    }
    EXPECT_EQ(files, 1u);
}

TEST(KvatoolPacker, MethodsFollowTheFileNamesOwnExtensionOnly)
{
    // The defaults and the configured methods are checked through the command line; here
    // only what the command line cannot show: a dot in a folder name is no extension, and
    // method texts with trailing junk or unknown values are refused.
    kvatool::PackOptions options;
    EXPECT_EQ(kvatool::ChooseMethod("folder.png\\noext", options), 0x101);
    EXPECT_EQ(kvatool::ChooseMethod("Title.PNG", options), 0);
    EXPECT_THROW(kvatool::ParseMethod("0x102"), kvatool::Error);
    EXPECT_THROW(kvatool::ParseMethod("1x"), kvatool::Error);
    EXPECT_THROW(kvatool::ParseMethod(""), kvatool::Error);
}
