/** @file PropertiesTest.cpp Property files with comments, odd lines and both key orders. */
#include <gtest/gtest.h>

#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "StreamTestSupport.h"
#include "support/TempDir.h"

using namespace korvane;
using korvane::test::Contents;
using korvane::test::MakeMemory;
using CaseSensitive = TProperties<std::less<std::string>>;
using CaseInsensitive = TProperties<comparator_for_properties::less_ignorecase>;

TEST(Properties, ParsesOddLinesLiterally)
{
    CaseSensitive table;
    table.ParseLines({"a=b=c", " a = b ", "=x", "x=", "; c=comment", " ;d=e", "no equals", "", ";"});
    EXPECT_EQ(table.Get("a", "-"), "b=c");
    EXPECT_EQ(table.Get(" a ", "-"), " b ");
    EXPECT_EQ(table.Get("", "-"), "x");
    EXPECT_EQ(table.Get("x", "-"), "");
    EXPECT_EQ(table.Get("; c", "-"), "-");
    EXPECT_EQ(table.Get(" ;d", "-"), "e");
    EXPECT_EQ(table.GetEntries().size(), 5u);
}

TEST(Properties, LineEndingsAndEmbeddedZero)
{
    for (const std::string& text :
         {std::string("k1=v1\r\nk2=v2\r\n"), std::string("k1=v1\nk2=v2"), std::string("\r\rk1=v1\r\r\n\nk2=v2\r"),
          std::string("k1=v1\nk2=v2\n\0k3=v3\n", 20)}) {
        CaseSensitive table;
        CMemoryStream stream = MakeMemory(text);
        stream.Seek(3); // loading always starts at the stream's beginning
        table.LoadFromStream(stream);
        std::vector<std::string> lines;
        table.GetLines(lines);
        EXPECT_EQ(lines, (std::vector<std::string>{"k1=v1", "k2=v2"}));
    }
    // Arbitrary bytes load without reading outside the data (the sanitizer build watches).
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 131 + 7);
    CMemoryStream noise = MakeMemory(binary);
    CaseInsensitive table;
    table.LoadFromStream(noise);
}

TEST(Properties, CaseInsensitiveKeysKeepTheirFirstSpelling)
{
    CaseInsensitive folded;
    CMemoryStream text = MakeMemory("Windowed=true\r\nWINDOWED=false\r\n");
    folded.LoadFromStream(text);
    ASSERT_EQ(folded.GetEntries().size(), 1u);
    EXPECT_EQ(folded.GetEntries().begin()->first, "Windowed");
    EXPECT_EQ(folded.Get("windowed", "none"), "false");

    CaseSensitive exact;
    text.Seek(0);
    exact.LoadFromStream(text);
    EXPECT_EQ(exact.GetEntries().size(), 2u);
    EXPECT_EQ(exact.Get("windowed", "none"), "none");

    // Keys compare lower-cased: "[" (0x5B) sorts before "Z" because "Z" counts as "z".
    comparator_for_properties::less_ignorecase less;
    EXPECT_TRUE(less("[", "Z"));
    EXPECT_TRUE(less("[", "a"));
    EXPECT_FALSE(less("\xC3\x84", "\xC3\xA4") == less("\xC3\xA4", "\xC3\x84"));
}

TEST(Properties, SaveWritesSortedCrLfLinesAtThePosition)
{
    test::TempDir dir;
    const std::string path = dir.Write("display_setting.ini", "Old=1\r\nKeep=yes\r\n");
    CaseInsensitive table;
    {
        CFileStream in(path, 1, 1);
        table.LoadFromStream(in);
    }
    table.Set("b", "2");
    table.Set("a", "1");
    table.Set("OLD", "changed");
    {
        CFileStream out(path, 0, 1);
        table.SaveToStream(out);
    }
    EXPECT_EQ(test::TempDir::Read(path), "a=1\r\nb=2\r\nKeep=yes\r\nOld=changed\r\n");
    // Saving writes at the stream's position, with no prefix of its own.
    CMemoryStream headed = MakeMemory("HEAD");
    headed.Seek(4);
    table.SaveToStream(headed);
    EXPECT_EQ(Contents(headed), "HEADa=1\r\nb=2\r\nKeep=yes\r\nOld=changed\r\n");

    CaseInsensitive again;
    again.Set("Extra", "kept");
    CFileStream in(path, 1, 1);
    again.LoadFromStream(in);
    EXPECT_EQ(again.Get("extra", ""), "kept");
    EXPECT_EQ(again.Get("old", ""), "changed");
    again.Clear();
    EXPECT_TRUE(again.GetEntries().empty());
}
