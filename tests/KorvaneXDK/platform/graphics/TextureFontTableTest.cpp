/** @file TextureFontTableTest.cpp Glyph tables in both formats, their damage, and look-up with its fallbacks. */
#include <functional>

#include "FontTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"

namespace fonttest
{
namespace
{

using korvane::CTextureFont;

/// The message of the engine exception `load` throws, or "" when none.
std::string FailureOf(const std::function<void()>& load)
{
    try {
        load();
    } catch (const korvane::EInvalidFileFormat& error) {
        return "format: " + error.GetMessage();
    } catch (const korvane::EException& error) {
        return "other: " + error.GetMessage();
    }
    return "";
}

TEST(TextureFontTable, DamagedKvfTablesFailWithTheirMessages)
{
    const std::string table = "format: loading KVF: Failed to load font-table";
    struct Case
    {
        const char* what;
        std::function<void(KvfTable&)> damage;
        std::string message;
    };
    const Case cases[] = {
        {"form type", [](KvfTable& t) { t.formType = "KVFX"; }, "format: loading KVF: file format error"},
        {"head key", [](KvfTable& t) { t.headKeys[2] = "TopOffsets"; }, table},
        {"head revision", [](KvfTable& t) { t.headRevision = 257; }, table},
        {"glpt key", [](KvfTable& t) { t.glptKeys[2] = "data"; }, table},
        {"glpt revision", [](KvfTable& t) { t.glptRevision = 0x200; }, table},
        {"count past the chunk", [](KvfTable& t) { t.count = 3; }, table},
        {"huge count", [](KvfTable& t) { t.count = 0x7FFFFFFF; }, table},
        {"head shorter than its items", [](KvfTable& t) { t.headBytesKept = 40; }, table},
        {"missing chunk", [](KvfTable& t) { t.withGlpt = false; }, "other: chunk not found - \"glpt\"(0x74706C67)"},
    };
    for (const Case& c : cases) {
        KvfTable kvf;
        kvf.records = {Cell('A', 0, 7), Cell('B', 8, 7)};
        c.damage(kvf);
        CTextureFont font;
        EXPECT_EQ(c.message, FailureOf([&] { LoadTableBytes(font, kvf.Bytes(), false); })) << c.what;
        EXPECT_EQ(nullptr, font.FindGlyph('A')) << c.what;
    }
    CTextureFont font;
    EXPECT_EQ("format: file format error: not RIFF header.",
              FailureOf([&] { LoadTableBytes(font, "JUNK0000KVFT", false); }));
}

TEST(TextureFontTable, KvfRecordsBecomeGlyphsAndTheLaterOfTwoWins)
{
    KvfTable kvf;
    kvf.leftOffset = 2;
    kvf.topOffset = -1;
    kvf.lineHeight = 15;
    kvf.records = {{'A', 1, 2, 3, 4, 5, 6, 7}, {'A', 10, 20, 30, 40, -5, -6, 9}, {0x3042, 32767, 0, 1, 1, 0, 0, 1}};
    CTextureFont font;
    LoadTableBytes(font, kvf.Bytes(), false);
    EXPECT_EQ(2u, font.GetGlyphCount());
    EXPECT_EQ(2, font.GetLeftOffset());
    EXPECT_EQ(-1, font.GetTopOffset());
    EXPECT_EQ(15, font.GetLineHeight("ignored"));
    const CTextureFont::Glyph* a = font.FindGlyph('A');
    ASSERT_NE(nullptr, a);
    EXPECT_EQ(
        (std::vector<int>{10, 20, 40, 60, 30, 40, -5, -6, 9}),
        (std::vector<int>{a->X, a->Y, a->Right, a->Bottom, a->Width, a->Height, a->OffsetX, a->OffsetY, a->Advance}));
    EXPECT_EQ(-32768, font.FindGlyph(0x3042)->Right); // a 16-bit sum

    kvf.count = 0;
    LoadTableBytes(font, kvf.Bytes(), false);
    EXPECT_EQ(0u, font.GetGlyphCount());
}

TEST(TextureFontTable, TextTablesReadTheirRangeWithCaseInsensitiveKeys)
{
    struct Case
    {
        const char* text;
        std::uint32_t start, end;
        std::size_t glyphs;
        std::int32_t lineHeight;
    };
    const Case cases[] = {
        {"LeftOffset=2\n", 0, 0x7F, 0x80, 0},
        {"StartCode=41\nEndCode=43\n41.W=5\n41.h=9\n42.H=11\n0043.h=30\n", 0x41, 0x43, 3, 11},
        {"StartCode=fff0\nEndCode=FFFF\n", 0xFFF0, 0xFFFF, 16, 0},
        {"StartCode=0\nEndCode=FFFF\n", 0, 0xFFFF, 0x10000, 0},
        {"StartCode=50\nEndCode=40\n", 0x50, 0x40, 0, 0},
        {"StartCode=-3\nEndCode=123456789\n", 0, 0xFFFF, 0x10000, 0},
        {"StartCode=zz\nEndCode=\n", 0, 0x7F, 0x80, 0},
    };
    for (const Case& c : cases) {
        CTextureFont font;
        LoadTableBytes(font, c.text, true);
        EXPECT_EQ(c.start, font.GetStartCode()) << c.text;
        EXPECT_EQ(c.end, font.GetEndCode()) << c.text;
        EXPECT_EQ(c.glyphs, font.GetGlyphCount()) << c.text;
        EXPECT_EQ(c.lineHeight, font.GetLineHeight("")) << c.text;
    }
    CTextureFont font;
    LoadTableBytes(font, "StartCode=41\nEndCode=43\n41.x=1\n41.y=2\n41.W=5\n41.h=9\n41.p=6\n0043.w=30\n", true);
    const CTextureFont::Glyph* a = font.FindGlyph('A');
    EXPECT_EQ(
        (std::vector<int>{1, 2, 6, 11, 5, 9, 0, 0, 6}),
        (std::vector<int>{a->X, a->Y, a->Right, a->Bottom, a->Width, a->Height, a->OffsetX, a->OffsetY, a->Advance}));
    EXPECT_EQ(0, font.FindGlyph('C')->Width);
}

TEST(TextureFontTable, LoadReadsTheTableThenOpensThePageOfTheSameName)
{
    korvane::test::TempDir dir;
    dir.Write("fonts/Small.INI", "LeftOffset=2\n");
    korvane::CFileSystemDataLoader loader(dir.Path());
    CTextureFont font;
    // The table is parsed before the page is opened; the missing page is the loader's failure.
    EXPECT_THROW(font.Load(&loader, "fonts\\Small.INI"), korvane::EFileOpenError);
    EXPECT_EQ(0x80u, font.GetGlyphCount());
    EXPECT_EQ(2, font.GetLeftOffset());
    EXPECT_EQ(nullptr, font.GetTexture());
}

TEST(TextureFontTable, MeasuringSumsTheAdvancesOfTheLookedUpGlyphs)
{
    struct Case
    {
        std::vector<KvfTable::Record> records;
        std::string text;
        std::int32_t width;
    };
    const KvfTable::Record a = Cell('A', 0, 7), question = Cell('?', 8, 5), geta = Cell(0x3013, 16, 11);
    const Case cases[] = {
        {{a, question}, "AB", 12},                // "?" stands in for B
        {{a, question, geta}, "AB", 18},          // U+3013 comes before "?"
        {{a}, "AB", 7},                           // nothing stands in: B is skipped
        {{a, question}, "A\xF0\x9F\x98\x80", 12}, // past U+FFFF: one unit without a glyph
        {{a, question}, "A\xC3", 12},             // a malformed byte
        {{a, question},
         "A\xE3\x81\x82\xFF"
         "A",
         24},                                                // a kana without a glyph and a bad byte
        {{Cell(0x3042, 0, 9), question}, "\xE3\x81\x82", 9}, // U+3042 decoded from UTF-8
        {{a, question}, std::string("A\0A", 3), 7},          // narrow text ends at a zero byte
    };
    for (const Case& c : cases) {
        KvfTable kvf;
        kvf.lineHeight = 13;
        kvf.records = c.records;
        CTextureFont font;
        LoadTableBytes(font, kvf.Bytes(), false);
        std::int32_t width = -1, height = -1;
        font.MeasureText(c.text, width, height);
        EXPECT_EQ(c.width, width) << c.text;
        EXPECT_EQ(13, height);
        font.Measure(width, height, c.text);
        EXPECT_EQ(c.width, width);
        EXPECT_EQ(13, font.GetHeight(c.text));
        EXPECT_EQ(1, font.GetPixelScale());
    }
}

} // namespace
} // namespace fonttest
