/** @file TextAndPathTest.cpp Formatting, conversions and the path routines on real folders. */
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <unistd.h>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace korvane
{
namespace
{

TEST(TextTest, FormatStringCutsAt510Characters)
{
    for (std::size_t length : {509u, 510u, 511u, 600u})
        EXPECT_EQ(FormatString("%s", std::string(length, 'q').c_str()),
                  std::string(std::min<std::size_t>(length, 510), 'q'));
    EXPECT_EQ(FormatString("%d-%s", 12, "ab"), "12-ab");
    EXPECT_EQ(FormatString("%s", ""), "");
}

TEST(TextTest, NumberConversionsAndLowerCasing)
{
    EXPECT_EQ(IntToString(-42), "-42");
    EXPECT_EQ(StringToInt("  +17xyz"), 17);
    EXPECT_EQ(StringToInt("-5"), -5);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt(""), 0);
    EXPECT_EQ(StringToInt("99999999999999999999"), INT_MAX);
    EXPECT_EQ(StringToInt("-99999999999999999999"), INT_MIN);
    EXPECT_FLOAT_EQ(StringToFloat("1.5x"), 1.5f);
    EXPECT_FLOAT_EQ(StringToFloat(" -0.25"), -0.25f);
    EXPECT_EQ(StringToFloat(""), 0.0f);
    EXPECT_EQ(StringToFloat("abc"), 0.0f);
    EXPECT_EQ(StringToFloat("   "), 0.0f);
    // Lower-casing touches ASCII only.
    EXPECT_EQ(ToLowerString("Fonts\\Main.INI"), "fonts\\main.ini");
    EXPECT_EQ(ToLowerString("\xC3\x89T\xC3\x89"), "\xC3\x89t\xC3\x89"); // "ÉTÉ": É stays
}

TEST(TextTest, WideAndNarrowRoundTripAndMalformedInput)
{
    const std::wstring wide = L"A\u00e9\u65e5\U0001F600";
    const std::string narrow = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";
    EXPECT_EQ(WideToMultiByte(wide), narrow);
    EXPECT_EQ(ToMultiByte(wide), narrow);
    EXPECT_EQ(MultiByteToWide(narrow), wide);
    EXPECT_EQ(Utf8ToMultiByte(narrow), narrow);
    // The text ends at its first terminator.
    EXPECT_EQ(WideToMultiByte(std::wstring(L"ab\0cd", 5)), "ab");
    // Malformed UTF-8 becomes replacement characters.
    EXPECT_EQ(MultiByteToWide("a\xFF"
                              "b"),
              L"a\uFFFDb");
    EXPECT_EQ(MultiByteToWide("\xE6\x97"), L"\uFFFD\uFFFD");           // cut sequence
    EXPECT_EQ(MultiByteToWide("\xC0\x80"), L"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(MultiByteToWide("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD"); // surrogate
    EXPECT_EQ(Utf8ToMultiByte("x\x80"), "x\xEF\xBF\xBD");
}

TEST(PathTest, PiecesSplitAtBothSeparators)
{
    EXPECT_EQ(GetExtension("dir.d\\file"), "");
    EXPECT_EQ(GetExtension("a.b.c"), ".c");
    EXPECT_EQ(GetExtension("/x/run.log"), ".log");
    EXPECT_EQ(GetDirectory("D:\\Games\\run.exe"), "D:\\Games\\");
    EXPECT_EQ(GetDirectory("/opt/game/run"), "/opt/game/");
    EXPECT_EQ(GetDirectory("run.exe"), "");
    EXPECT_EQ(GetFileName("D:\\Games\\run.exe"), "run.exe");
    EXPECT_EQ(GetFileName("a/b\\c.txt"), "c.txt");
    EXPECT_EQ(ReplaceExtension("D:\\x\\run.exe", ".log"), "D:\\x\\run.log");
    EXPECT_EQ(ReplaceExtension("D:\\x\\run.exe", ""), "D:\\x\\run");
    EXPECT_EQ(ReplaceExtension("D:\\x.d\\run", ".log"), "D:\\x.d\\run.log");
    EXPECT_EQ(AppendBackslash(""), "");
    EXPECT_EQ(AppendBackslash("a"), "a\\");
    EXPECT_EQ(AppendBackslash("a\\"), "a\\");
    EXPECT_EQ(RemoveTrailingBackslash("a\\"), "a");
    EXPECT_EQ(RemoveTrailingBackslash("a"), "a");
    EXPECT_EQ(ToSystemPath("a\\b\\c"), "a/b/c");
}

TEST(PathTest, FullPathResolvesAgainstTheCurrentFolder)
{
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ(GetFullPath("sub\\..\\file.txt"), std::string(cwd) + "/file.txt");
    EXPECT_EQ(GetFullPath("/a/./b/../c"), "/a/c");
    EXPECT_EQ(GetFullPath("/a/b/"), "/a/b/");
    EXPECT_TRUE(FileExists(GetModuleFilePath()));
}

TEST(PathTest, ExistenceTestsAndCreatingTrees)
{
    test::TempDir dir;
    std::string file = dir.Write("f.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_TRUE(FileExists(dir.Path()));
    EXPECT_TRUE(DirectoryExists(dir.Path()));
    EXPECT_TRUE(DirectoryExists(RemoveTrailingBackslash(dir.Path())));
    EXPECT_FALSE(FileExists(dir.File("none")));
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(DirectoryExists(""));

    // The tree's last name is left out unless it ends in a separator.
    CreateDirectoryTree(dir.Path() + "A\\B\\E");
    EXPECT_TRUE(DirectoryExists(dir.File("A/B")));
    EXPECT_FALSE(FileExists(dir.File("A/B/E")));
    CreateDirectoryTree(dir.Path() + "A\\B\\E\\");
    EXPECT_TRUE(DirectoryExists(dir.File("A/B/E")));
    CreateDirectoryTree(dir.Path() + "Vumo/Save/");
    EXPECT_TRUE(DirectoryExists(dir.File("Vumo\\Save\\")));
}

TEST(PathTest, CreateDirectoryTreeLogsEachFailureAndGoesOn)
{
    test::TempDir dir;
    dir.Write("blocker", "a file where a folder should be");
    {
        test::LogCapture log;
        CreateDirectoryTree(dir.Path() + "blocker/inner/");
        // The file in the way and the folder below it: two failed creations, two lines.
        const auto lines = log.Lines();
        ASSERT_EQ(lines.size(), 2u) << log.All();
        EXPECT_EQ(lines[0].rfind("ERROR: \n\tWin32Error(0x11): File exists\n\n\t", 0), 0u) << lines[0];
        EXPECT_EQ(lines[1].rfind("ERROR: \n\tWin32Error(0x14): Not a directory\n\n\t", 0), 0u) << lines[1];
    }
    EXPECT_FALSE(DirectoryExists(dir.File("blocker/inner")));
    CreateDirectoryTree(dir.Path() + "ok/inner/");
    EXPECT_TRUE(DirectoryExists(dir.File("ok/inner")));
}

} // namespace
} // namespace korvane
