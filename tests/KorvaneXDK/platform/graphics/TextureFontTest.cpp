/** @file TextureFontTest.cpp Glyph tables in both formats, their damage and look-up with its fallbacks; fonts from the
 * builder and hand-made tables drawn through the canvas pair. */

#include "GraphicsTestSupport.h"

namespace
{

using namespace graphicstest;
using korvane::CTextureFont;

/// The message of the engine exception `load` throws, or "" when none.
std::string FailureOf(const std::function<void()>& load)
{
    try {
        load();
    } catch (const korvane::EException& error) {
        return (dynamic_cast<const korvane::EInvalidFileFormat*>(&error) ? "format: " : "other: ") + error.GetMessage();
    }
    return "";
}

/// X, Y, Right, Bottom, Width, Height, OffsetX, OffsetY, Advance.
std::vector<int> Fields(const CTextureFont::Glyph* g)
{
    return {g->X, g->Y, g->Right, g->Bottom, g->Width, g->Height, g->OffsetX, g->OffsetY, g->Advance};
}

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
/// Latin letters of one font and kana and kanji of another.
const std::u32string kText = U"Agかな設定";

/// The 256 x 64 device with the canvas pair, a font of the system's Debian fonts rendered by the
/// project's builder, and hand-made tables over white pages.
class TextureFontDraw : public DriverTest<256, 64>
{
protected:
    std::map<std::string, std::string> Files() override
    {
        fontbuild::FontSpec spec;
        spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf"), fontbuild::FindFontFile("ipagp.ttf")};
        spec.pixelSize = 20;
        spec.required.insert(kText.begin(), kText.end());
        built = fontbuild::BuildFont(spec);
        const std::vector<fontbuild::GlyphRecord> clip = {Cell('.', 0, 2),   Cell('a', 2, 10),  Cell('b', 12, 10),
                                                          Cell('c', 22, 10), Cell('d', 32, 10), Cell('e', 42, 10),
                                                          Cell('f', 52, 10)};
        const std::vector<fontbuild::GlyphRecord> noStop(clip.begin() + 1, clip.end());
        // A page of solid white for the hand-made tables.
        const std::string white = gfxtest::WritePng(64, 8, PNG_COLOR_TYPE_RGB, 8, [](auto, auto) { return ~0u; });
        std::map<std::string, std::string> files{{"fonts/Built.kvf", ToBytes(fontbuild::EncodeKvf(built))},
                                                 {"fonts/Built.png", ToBytes(fontbuild::EncodePng(built))},
                                                 {"fonts/BadPage.kvf", Kvf(clip)},
                                                 {"fonts/BadPage.png", "not a picture"}};
        for (const auto& [name, table] : {std::pair("Clip", Kvf(clip)), {"NoStop", Kvf(noStop)}, {"Empty", Kvf({})}}) {
            files["fonts/" + std::string(name) + ".kvf"] = table;
            files["fonts/" + std::string(name) + ".png"] = white;
        }
        return files;
    }

    /// Triangles per recorded draw while `run` runs; each draw is a textured list of canvas vertices.
    template <typename Run>
    std::vector<std::uint32_t> RecordTriangles(Run run)
    {
        os::testing::ClearRecordedDraws();
        os::testing::SetDrawRecording(true);
        run();
        os::testing::SetDrawRecording(false);
        std::vector<std::uint32_t> triangles;
        for (const os::testing::DrawRecord& r : os::testing::GetRecordedDraws()) {
            EXPECT_EQ(std::make_tuple(os::gfx::PrimitiveType::TriangleList, 28u, true),
                      std::make_tuple(r.type, r.stride, r.textures[0] != 0u));
            triangles.push_back(r.primitiveCount);
        }
        return triangles;
    }

    fontbuild::BuiltFont built;
};

TEST(TextureFontTable, ADamagedKvfTableFailsToLoadAndLeavesNoGlyphs)
{
    // Damage to the builder's table of A and B; each chunk's revision and keys.
    const std::string table = "format: loading KVF: Failed to load font-table";
    const auto le = [](std::int32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); };
    const auto patch = [](std::string from, std::string to) {
        return [=](std::string& bytes) { bytes.replace(bytes.find(from), from.size(), to); };
    };
    const std::tuple<const char*, std::function<void(std::string&)>, std::string> cases[] = {
        {"form type", patch("KVFT", "KVFX"), "format: loading KVF: file format error"},
        {"head key", patch("TopOffset", "TopOffsex"), table},
        {"revision", patch("Revision" + le(256), "Revision" + le(257)), table},
        {"glpt key", patch("Data", "data"), table},
        {"glpt revision", patch(le(256) + le(5) + "Count", le(0x200) + le(5) + "Count"), table},
        {"count past the chunk", patch("Count" + le(2), "Count" + le(3)), table},
        {"huge count", patch("Count" + le(2), "Count" + le(0x7FFFFFFF)), table},
        {"file cut inside the head's items", [](std::string& bytes) { bytes.resize(60); }, table},
        {"missing chunk", patch("glpt", "glpX"), "other: chunk not found - \"glpt\"(0x74706C67)"},
        {"not RIFF", [](std::string& bytes) { bytes = "JUNK0000KVFT"; },
         "format: file format error: not RIFF header."}};
    for (const auto& [what, damage, message] : cases) {
        std::string bytes = Kvf({Cell('A', 0, 7), Cell('B', 8, 7)});
        damage(bytes);
        CTextureFont kvfFont;
        EXPECT_EQ(message, FailureOf([&] { LoadTableBytes(kvfFont, bytes, false); })) << what;
        EXPECT_EQ(nullptr, kvfFont.FindGlyph('A')) << what;
    }
}

TEST(TextureFontTable, KvfRecordsBecomeGlyphsAndTheLaterOfTwoWins)
{
    CTextureFont kvfFont;
    const std::vector<fontbuild::GlyphRecord> laterWins = {
        {'A', 1, 2, 3, 4, 5, 6, 7}, {'A', 10, 20, 30, 40, -5, -6, 9}, {0x3042, 32767, 0, 1, 1, 0, 0, 1}};
    LoadTableBytes(kvfFont, Kvf(laterWins, 15, 2, -1), false);
    EXPECT_EQ((std::vector<int>{2, 2, -1, 15}),
              (std::vector<int>{static_cast<int>(kvfFont.GetGlyphCount()), kvfFont.GetLeftOffset(),
                                kvfFont.GetTopOffset(), kvfFont.GetLineHeight("ignored")}));
    ASSERT_NE(nullptr, kvfFont.FindGlyph('A'));
    EXPECT_EQ((std::vector<int>{10, 20, 40, 60, 30, 40, -5, -6, 9}), Fields(kvfFont.FindGlyph('A')));
    EXPECT_EQ(-32768, kvfFont.FindGlyph(0x3042)->Right); // a 16-bit sum
    LoadTableBytes(kvfFont, Kvf({}), false);
    EXPECT_EQ(0u, kvfFont.GetGlyphCount());
}

TEST(TextureFontTable, MeasuringSumsTheAdvancesOfTheLookedUpGlyphs)
{
    const fontbuild::GlyphRecord a = Cell('A', 0, 7), question = Cell('?', 8, 5), geta = Cell(0x3013, 16, 11);
    const std::tuple<std::vector<fontbuild::GlyphRecord>, std::string, std::int32_t> measures[] = {
        {{a, question}, "AB", 12},                           // "?" stands in for B
        {{a, question, geta}, "AB", 18},                     // U+3013 comes before "?"
        {{a}, "AB", 7},                                      // nothing stands in: B is skipped
        {{a, question}, "A\xF0\x9F\x98\x80", 12},            // past U+FFFF: one unit without a glyph
        {{a, question}, "A\xC3", 12},                        // a malformed byte
        {{a, question}, "A\xE3\x81\x82\xFF\x41", 24},        // a kana without a glyph and a bad byte
        {{Cell(0x3042, 0, 9), question}, "\xE3\x81\x82", 9}, // U+3042 decoded from UTF-8
        {{a, question}, std::string("A\0A", 3), 7}           // narrow text ends at a zero byte
    };
    for (const auto& [records, text, expected] : measures) {
        CTextureFont measuring;
        LoadTableBytes(measuring, Kvf(records, 13), false);
        std::int32_t width = -1, height = -1, width2 = -1, height2 = -1;
        measuring.MeasureText(text, width, height);
        measuring.Measure(width2, height2, text);
        EXPECT_EQ((std::vector<int>{expected, 13, expected, 13, 1}),
                  (std::vector<int>{width, height, width2, measuring.GetHeight(text), measuring.GetPixelScale()}))
            << text;
    }
}

TEST(TextureFontTable, TextTablesReadTheirRangeWithCaseInsensitiveKeys)
{
    // Text, start code, end code, glyphs, line height.
    const std::tuple<const char*, std::uint32_t, std::uint32_t, std::size_t, std::int32_t> texts[] = {
        {"LeftOffset=2\n", 0, 0x7F, 0x80, 0},
        {"StartCode=41\nEndCode=43\n41.W=5\n41.h=9\n42.H=11\n0043.h=30\n", 0x41, 0x43, 3, 11},
        {"StartCode=fff0\nEndCode=FFFF\n", 0xFFF0, 0xFFFF, 16, 0},
        {"StartCode=50\nEndCode=40\n", 0x50, 0x40, 0, 0},
        {"StartCode=-3\nEndCode=123456789\n", 0, 0xFFFF, 0x10000, 0},
        {"StartCode=zz\nEndCode=\n", 0, 0x7F, 0x80, 0}};
    for (const auto& [text, start, end, glyphs, lineHeight] : texts) {
        CTextureFont kvfFont;
        LoadTableBytes(kvfFont, text, true);
        EXPECT_EQ(std::make_tuple(start, end, glyphs, lineHeight),
                  std::make_tuple(kvfFont.GetStartCode(), kvfFont.GetEndCode(), kvfFont.GetGlyphCount(),
                                  kvfFont.GetLineHeight("")))
            << text;
    }
}

TEST(TextureFontTable, TextTablesSetEachGlyphsFieldsByItsCode)
{
    CTextureFont keyed;
    LoadTableBytes(keyed, "StartCode=41\nEndCode=43\n41.x=1\n41.y=2\n41.W=5\n41.h=9\n41.p=6\n0043.w=30\n", true);
    EXPECT_EQ((std::vector<int>{1, 2, 6, 11, 5, 9, 0, 0, 6}), Fields(keyed.FindGlyph('A')));
    EXPECT_EQ(0, keyed.FindGlyph('C')->Width);
}

TEST_F(TextureFontDraw, LoadParsesTheTableBeforeItOpensThePageAndAMissingPageIsTheLoadersFailure)
{
    korvane::test::TempDir plain;
    plain.Write("fonts/Small.INI", "LeftOffset=2\n");
    korvane::CFileSystemDataLoader files(plain.Path());
    CTextureFont loaded;
    EXPECT_THROW(loaded.Load(&files, "fonts\\Small.INI"), korvane::EFileOpenError);
    EXPECT_EQ(std::make_tuple(0x80u, 2, false),
              std::make_tuple(loaded.GetGlyphCount(), loaded.GetLeftOffset(), loaded.GetTexture() != nullptr));
}

TEST_F(TextureFontDraw, EachGlyphOfABuiltFontLandsAsThePageHoldsIt)
{
    CTextureFont font;
    font.Load(loader.get(), "fonts\\Built.kvf");
    const std::string utf8 = "Agかな設定";
    const std::int32_t x = 3, y = 20;
    ASSERT_NO_FATAL_FAILURE(PrepareCanvas());
    font.DrawText(utf8, x, y, kWhite);
    const std::vector<std::uint32_t> pixels = ReadPixels();

    // Expected: each glyph's page pixels at pen + offset; pixels two glyphs share are skipped.
    std::vector<int> covering(kWidth * kHeight, 0);
    std::vector<std::uint8_t> expected(kWidth * kHeight, 0);
    std::int32_t pen = x + built.leftOffset;
    for (char32_t code : kText) {
        const auto g = std::ranges::find(built.glyphs, std::uint16_t(code), &fontbuild::GlyphRecord::code);
        ASSERT_NE(built.glyphs.end(), g);
        for (int row = 0; row < g->height; ++row)
            for (int column = 0; column < g->width; ++column) {
                const int sx = pen + g->offsetX + column;
                const int sy = y + built.topOffset + g->offsetY + row;
                ASSERT_TRUE(sx >= 0 && sy >= 0 && sx < int(kWidth) && sy < int(kHeight));
                covering[sy * kWidth + sx] += 1;
                expected[sy * kWidth + sx] = built.coverage[(g->y + row) * built.pageWidth + g->x + column];
            }
        pen += g->advance;
    }
    int compared = 0, inked = 0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        if (covering[i] > 1)
            continue;
        // The blended alpha is not compared.
        ASSERT_EQ(expected[i] * 0x010101u, pixels[i] & 0xFFFFFFu) << "pixel " << i % kWidth << ", " << i / kWidth;
        compared += covering[i];
        inked += expected[i] != 0;
    }
    EXPECT_TRUE(inked > 20 && compared > 100) << inked << " inked, " << compared << " compared";
    std::int32_t width = 0, height = 0;
    font.MeasureText(utf8, width, height);
    EXPECT_EQ((std::vector<int>{pen - x - built.leftOffset, built.lineHeight}), (std::vector<int>{width, height}));
}

TEST_F(TextureFontDraw, ClippedTextEndsWithAnEllipsisAsFarAsItFits)
{
    CTextureFont clip, noStop;
    clip.Load(loader.get(), "fonts\\Clip.kvf");
    noStop.Load(loader.get(), "fonts\\NoStop.kvf");
    ASSERT_NO_FATAL_FAILURE(PrepareCanvas());
    // Font, text, rect.right with x = 5, triangles drawn.
    const std::tuple<CTextureFont*, const char*, std::int32_t, std::uint32_t> clips[] = {
        {&clip, "abcde", 5 + 39, 2 * 7},    // limit 40: four glyphs and "..."
        {&clip, "abcd", 5 + 39, 2 * 4},     // fits: drawn unchanged
        {&clip, "aXbcde", 5 + 39, 2 * 7},   // X has no glyph: left out, no fallback
        {&noStop, "abcdef", 5 + 39, 2 * 5}, // no full stop: no mark, cut after the unit passing the limit
        {&clip, "", 5 + 39, 0}};
    for (const auto& [font, text, right, triangles] : clips) {
        const os::gfx::Rect rect{0, 0, right, 100};
        EXPECT_EQ(triangles == 0 ? std::vector<std::uint32_t>{} : std::vector<std::uint32_t>{triangles},
                  RecordTriangles([&] { font->DrawTextClipped(5, 3, rect, text, kWhite); }))
            << text << " to " << right;
    }
}

TEST_F(TextureFontDraw, FontsWithoutGlyphsOrPageDrawNothing)
{
    CTextureFont empty, broken;
    empty.Load(loader.get(), "fonts\\Empty.kvf");
    EXPECT_THROW(broken.Load(loader.get(), "fonts\\BadPage.kvf"), korvane::EFileOpenError);
    EXPECT_EQ(7u, broken.GetGlyphCount()); // the table stays
    ASSERT_NO_FATAL_FAILURE(PrepareCanvas());
    EXPECT_TRUE(RecordTriangles([&] {
                    empty.DrawText("abc", 0, 0, kWhite);
                    broken.DrawText("abc", 0, 0, kWhite);
                    broken.DrawTextClipped(0, 0, os::gfx::Rect{0, 0, 10, 10}, "abcdef", kWhite);
                }).empty());
}

TEST_F(TextureFontDraw, AFailedReloadKeepsThePage)
{
    CTextureFont clip;
    clip.Load(loader.get(), "fonts\\Clip.kvf");
    ASSERT_NO_FATAL_FAILURE(PrepareCanvas());
    const boost::shared_ptr<korvane::ITexture> page = clip.GetTexture();
    EXPECT_THROW(clip.Load(loader.get(), "fonts\\BadPage.kvf"), korvane::EFileOpenError);
    EXPECT_EQ(page, clip.GetTexture());
    EXPECT_EQ(std::vector<std::uint32_t>{6}, RecordTriangles([&] { clip.DrawText("abc", 0, 0, kWhite); }));
}

} // namespace
