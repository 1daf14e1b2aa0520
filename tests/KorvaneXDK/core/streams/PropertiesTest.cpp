/** @file PropertiesTest.cpp Property files with comments, odd lines and both key orders. */
#include <gmock/gmock.h>

#include "KorvaneXDK/core/Properties.h"
#include "StreamTestSupport.h"

using namespace korvane;
using namespace korvane::test;
using ::testing::ElementsAre;
using ::testing::Pair;
using CaseSensitive = TProperties<std::less<std::string>>;
using CaseInsensitive = TProperties<comparator_for_properties::less_ignorecase>;

TEST(Properties, ParsesOddLinesLiterallyWithAnyLineEndingKeepsTheFirstSpellingOfKeysAndSavesSortedCrLfLines)
{
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
    CMemoryStream text = MakeMemory("Windowed=true\r\nWINDOWED=false\r\n");
    folded.LoadFromStream(text);
    EXPECT_THAT(folded.GetEntries(), ElementsAre(Pair("Windowed", "false")));
    CaseSensitive exact;
    exact.LoadFromStream(text);
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
    again.LoadFromStream(text);
    EXPECT_EQ(again.Get("extra", "") + again.Get("windowed", ""), "keptfalse");
    again.Clear();
    EXPECT_TRUE(again.GetEntries().empty());
}
