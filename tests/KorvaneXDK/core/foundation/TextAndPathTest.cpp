/** @file TextAndPathTest.cpp Formatting, conversions and the path routines on real folders. */
#include <gtest/gtest.h>

#include <unistd.h>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace korvane;
using Strings = std::vector<std::string>;

TEST(TextAndPathTest, FormattingNumbersLowerCasingWideTextPathPiecesFullPathsAndTreesThatLogEachFailure)
{
    for (std::size_t length : {509u, 510u, 511u, 600u})
        EXPECT_EQ(FormatString("%s", std::string(length, 'q').c_str()),
                  std::string(std::min<std::size_t>(length, 510), 'q'));
    EXPECT_EQ(FormatString("%d-%s", 12, "ab") + FormatString("%s", ""), "12-ab");
    EXPECT_EQ(IntToString(-42), "-42");
    EXPECT_EQ((std::vector<int>{StringToInt("  +17xyz"), StringToInt("-5"), StringToInt("abc"), StringToInt(""),
                                StringToInt("99999999999999999999"), StringToInt("-99999999999999999999")}),
              (std::vector<int>{17, -5, 0, 0, INT_MAX, INT_MIN}));
    EXPECT_EQ((std::vector<float>{StringToFloat("1.5x"), StringToFloat(" -0.25"), StringToFloat(""),
                                  StringToFloat("abc"), StringToFloat("   ")}),
              (std::vector<float>{1.5f, -0.25f, 0, 0, 0}));
    // Lower-casing touches ASCII only: in "ÉTÉ" the É stays.
    EXPECT_EQ(ToLowerString("Fonts\\Main.INI") + ToLowerString("\xC3\x89T\xC3\x89"),
              "fonts\\main.ini\xC3\x89t\xC3\x89");
    // Wide and narrow texts round-trip; malformed input becomes replacement characters.
    const std::wstring wide = L"A\u00e9\u65e5\U0001F600";
    const std::string narrow = "A\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80";
    EXPECT_EQ((Strings{WideToMultiByte(wide), ToMultiByte(wide), Utf8ToMultiByte(narrow)}),
              (Strings{narrow, narrow, narrow}));
    EXPECT_EQ(MultiByteToWide(narrow), wide);
    // The text ends at its first terminator.
    EXPECT_EQ(WideToMultiByte(std::wstring(L"ab\0cd", 5)), "ab");
    // Malformed UTF-8 (a bad byte, a cut sequence, an overlong one, a surrogate) becomes replacement characters.
    EXPECT_EQ((std::vector<std::wstring>{MultiByteToWide("a\xFF"
                                                         "b"),
                                         MultiByteToWide("\xE6\x97"), MultiByteToWide("\xC0\x80"),
                                         MultiByteToWide("\xED\xA0\x80")}),
              (std::vector<std::wstring>{L"a\uFFFDb", L"\uFFFD\uFFFD", L"\uFFFD\uFFFD", L"\uFFFD\uFFFD\uFFFD"}));
    EXPECT_EQ(Utf8ToMultiByte("x\x80"), "x\xEF\xBF\xBD");
    // Paths: pieces split at both separators, full paths resolve, creating trees logs each failure and goes on.
    EXPECT_EQ((Strings{GetExtension("dir.d\\file"), GetExtension("a.b.c"), GetExtension("/x/run.log")}),
              (Strings{"", ".c", ".log"}));
    EXPECT_EQ((Strings{GetDirectory("D:\\Games\\run.exe"), GetDirectory("/opt/game/run"), GetDirectory("run.exe")}),
              (Strings{"D:\\Games\\", "/opt/game/", ""}));
    EXPECT_EQ((Strings{GetFileName("D:\\Games\\run.exe"), GetFileName("a/b\\c.txt")}), (Strings{"run.exe", "c.txt"}));
    EXPECT_EQ((Strings{ReplaceExtension("D:\\x\\run.exe", ".log"), ReplaceExtension("D:\\x\\run.exe", ""),
                       ReplaceExtension("D:\\x.d\\run", ".log")}),
              (Strings{"D:\\x\\run.log", "D:\\x\\run", "D:\\x.d\\run.log"}));
    EXPECT_EQ((Strings{AppendBackslash(""), AppendBackslash("a"), AppendBackslash("a\\"),
                       RemoveTrailingBackslash("a\\"), RemoveTrailingBackslash("a"), ToSystemPath("a\\b\\c")}),
              (Strings{"", "a\\", "a\\", "a", "a", "a/b/c"}));
    // A full path resolves against the current folder.
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    EXPECT_EQ((Strings{GetFullPath("sub\\..\\file.txt"), GetFullPath("/a/./b/../c"), GetFullPath("/a/b/")}),
              (Strings{std::string(cwd) + "/file.txt", "/a/c", "/a/b/"}));
    EXPECT_TRUE(FileExists(GetModuleFilePath()));
    // Existence tests and creating trees.
    test::TempDir dir;
    const std::string file = dir.Write("f.txt", "x");
    EXPECT_EQ((std::vector<bool>{FileExists(file), DirectoryExists(file), FileExists(dir.Path()),
                                 DirectoryExists(dir.Path()), DirectoryExists(RemoveTrailingBackslash(dir.Path())),
                                 FileExists(dir.File("none")), FileExists(""), DirectoryExists("")}),
              (std::vector<bool>{true, false, true, true, true, false, false, false}));
    // The tree's last name is left out unless it ends in a separator.
    CreateDirectoryTree(dir.Path() + "A\\B\\E");
    EXPECT_TRUE(DirectoryExists(dir.File("A/B")));
    EXPECT_FALSE(FileExists(dir.File("A/B/E")));
    CreateDirectoryTree(dir.Path() + "A\\B\\E\\");
    CreateDirectoryTree(dir.Path() + "Vumo/Save/");
    EXPECT_TRUE(DirectoryExists(dir.File("A/B/E")) && DirectoryExists(dir.File("Vumo\\Save\\")));
    // Each failure is logged and the rest goes on.
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

TEST(TextTest, StringToFloatReadsADecimalPointInADecimalCommaLocale)
{
    // A decimal-comma locale built for the test and selected for numbers.
    test::TempDir dir;
    const std::string command = "localedef -i de_DE -f UTF-8 '" + dir.File("de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) > 1) // 1: built with warnings
        GTEST_SKIP() << "no decimal-comma locale can be built here";
    setenv("LOCPATH", dir.Path().c_str(), 1);
    const bool active =
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr && std::string(std::localeconv()->decimal_point) == ",";
    const std::vector<float> values = {StringToFloat("0.5"), StringToFloat(" -2.25x"), StringToFloat("1,5"),
                                       StringToFloat("abc")};
    const std::string point = std::localeconv()->decimal_point; // the process's own locale is left as it was
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    if (!active)
        GTEST_SKIP() << "no decimal-comma locale can be selected here";
    EXPECT_EQ(values, (std::vector<float>{0.5f, -2.25f, 1.0f, 0.0f}));
    EXPECT_EQ(point, ",");
}
