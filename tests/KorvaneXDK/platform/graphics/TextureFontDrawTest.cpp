/** @file TextureFontDrawTest.cpp Fonts from the builder and hand-made tables drawn through the canvas pair. */
#include "FontTestSupport.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace fonttest
{
namespace
{

using korvane::CTextureFont;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
const std::u32string kKanaKanji = U"ひらがなカタカナ設定確認";

/// A 64 x 8 page of solid white for hand-made tables.
std::string WhitePage()
{
    fontbuild::BuiltFont page;
    page.pageWidth = 64;
    page.pageHeight = 8;
    page.coverage.assign(64 * 8, 0xFF);
    return ToBytes(fontbuild::EncodePng(page));
}

class TextureFontDraw : public FontTest
{
protected:
    std::map<std::string, std::string> Files() override
    {
        built = BuildTestFont(U"Ag?.\u3013" + kKanaKanji);
        KvfTable clip;
        clip.records = {Cell('.', 0, 2),   Cell('a', 2, 10),  Cell('b', 12, 10), Cell('c', 22, 10),
                        Cell('d', 32, 10), Cell('e', 42, 10), Cell('f', 52, 10)};
        KvfTable noStop = clip;
        noStop.records.erase(noStop.records.begin());
        KvfTable empty;
        return {
            {"fonts/Built.kvf", ToBytes(fontbuild::EncodeKvf(built))},
            {"fonts/Built.png", ToBytes(fontbuild::EncodePng(built))},
            {"fonts/Clip.kvf", clip.Bytes()},
            {"fonts/Clip.png", WhitePage()},
            {"fonts/NoStop.kvf", noStop.Bytes()},
            {"fonts/NoStop.png", WhitePage()},
            {"fonts/Empty.kvf", empty.Bytes()},
            {"fonts/Empty.png", WhitePage()},
            {"fonts/BadPage.kvf", clip.Bytes()},
            {"fonts/BadPage.png", "not a picture"},
        };
    }

    const fontbuild::GlyphRecord& Record(char32_t code) const
    {
        for (const fontbuild::GlyphRecord& glyph : built.glyphs) {
            if (glyph.code == code) {
                return glyph;
            }
        }
        throw std::runtime_error("the test font lacks a character");
    }

    fontbuild::BuiltFont built;
};

TEST_F(TextureFontDraw, BuiltGlyphsLandOnTheScreenAsThePageHoldsThem)
{
    CTextureFont font;
    font.Load(loader.get(), "fonts\\Built.kvf");
    struct Case
    {
        std::u32string text;
        std::string utf8;
        std::int32_t x, y;
    };
    const Case cases[] = {{U"Ag", "Ag", 10, 8}, {kKanaKanji, "ひらがなカタカナ設定確認", 3, 20}};
    for (const Case& c : cases) {
        PrepareCanvas();
        font.DrawText(c.utf8, c.x, c.y, kWhite);
        const std::vector<std::uint32_t> pixels = ReadPixels();

        // Expected: each glyph's page pixels at pen + offset; pixels two glyphs share are skipped.
        std::vector<int> covering(kWidth * kHeight, 0);
        std::vector<std::uint8_t> expected(kWidth * kHeight, 0);
        std::int32_t pen = c.x + built.leftOffset;
        std::int32_t advances = 0;
        for (char32_t code : c.text) {
            const fontbuild::GlyphRecord& g = Record(code);
            for (int row = 0; row < g.height; ++row) {
                for (int column = 0; column < g.width; ++column) {
                    const int sx = pen + g.offsetX + column;
                    const int sy = c.y + built.topOffset + g.offsetY + row;
                    ASSERT_TRUE(sx >= 0 && sy >= 0 && sx < int(kWidth) && sy < int(kHeight));
                    covering[sy * kWidth + sx] += 1;
                    expected[sy * kWidth + sx] = built.coverage[(g.y + row) * built.pageWidth + g.x + column];
                }
            }
            pen += g.advance;
            advances += g.advance;
        }
        int compared = 0, inked = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (covering[i] > 1) {
                continue;
            }
            const std::uint32_t want = expected[i] * 0x010101u; // the blended alpha is not compared
            ASSERT_EQ(want, pixels[i] & 0xFFFFFFu) << "pixel " << i % kWidth << ", " << i / kWidth << " of " << c.utf8;
            compared += covering[i];
            inked += expected[i] != 0;
        }
        EXPECT_GT(inked, 20) << c.utf8;
        EXPECT_GT(compared, 100) << c.utf8;

        std::int32_t width = 0, height = 0;
        font.MeasureText(c.utf8, width, height);
        EXPECT_EQ(advances, width);
        EXPECT_EQ(built.lineHeight, height);
    }
}

TEST_F(TextureFontDraw, ClippedTextEndsWithAnEllipsisAsFarAsItFits)
{
    CTextureFont clip, noStop;
    clip.Load(loader.get(), "fonts\\Clip.kvf");
    noStop.Load(loader.get(), "fonts\\NoStop.kvf");
    PrepareCanvas();
    struct Case
    {
        CTextureFont* font;
        const char* text;
        std::int32_t right; // rect.right with x = 5
        std::uint32_t triangles;
    };
    const Case cases[] = {
        {&clip, "abcde", 5 + 39, 2 * 7},    // limit 40: four glyphs and "..."
        {&clip, "abcd", 5 + 39, 2 * 4},     // fits: drawn unchanged
        {&clip, "aXbcde", 5 + 39, 2 * 7},   // X has no glyph: left out, no fallback
        {&clip, "abcde", 5 + 100, 2 * 5},   // all fits
        {&noStop, "abcdef", 5 + 39, 2 * 5}, // no full stop: no mark, cut after the unit passing the limit
        {&clip, "", 5 + 39, 0},
    };
    for (const Case& c : cases) {
        const os::gfx::Rect rect{0, 0, c.right, 100};
        const std::vector<std::uint32_t> draws =
            RecordTriangles([&] { c.font->DrawTextClipped(5, 3, rect, c.text, kWhite); });
        EXPECT_EQ(c.triangles == 0 ? std::vector<std::uint32_t>{} : std::vector<std::uint32_t>{c.triangles}, draws)
            << c.text << " to " << c.right;
    }
}

TEST_F(TextureFontDraw, FontsWithoutGlyphsOrPageDrawNothingAndAFailedReloadKeepsThePage)
{
    CTextureFont empty;
    empty.Load(loader.get(), "fonts\\Empty.kvf");
    CTextureFont broken;
    EXPECT_THROW(broken.Load(loader.get(), "fonts\\BadPage.kvf"), korvane::EFileOpenError);
    EXPECT_EQ(7u, broken.GetGlyphCount()); // the table stays
    PrepareCanvas();
    EXPECT_TRUE(RecordTriangles([&] {
                    empty.DrawText("abc", 0, 0, kWhite);
                    broken.DrawText("abc", 0, 0, kWhite);
                    broken.DrawTextClipped(0, 0, os::gfx::Rect{0, 0, 10, 10}, "abcdef", kWhite);
                }).empty());

    CTextureFont font;
    font.Load(loader.get(), "fonts\\Clip.kvf");
    const boost::shared_ptr<korvane::ITexture> page = font.GetTexture();
    EXPECT_THROW(font.Load(loader.get(), "fonts\\BadPage.kvf"), korvane::EFileOpenError);
    EXPECT_EQ(page, font.GetTexture());
    EXPECT_EQ(std::vector<std::uint32_t>{6}, RecordTriangles([&] { font.DrawText("abc", 0, 0, kWhite); }));
}

} // namespace
} // namespace fonttest
