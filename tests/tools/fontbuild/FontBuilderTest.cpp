/** @file FontBuilderTest.cpp The builder's character sets, page packing and rendering, read back by the engine. */
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "support/TempDir.h"
#include "tools/fontbuild/CharacterSet.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/fontbuild/PagePacker.h"

namespace
{

using fontbuild::BuiltFont;
using fontbuild::FontSpec;

FontSpec Spec(std::initializer_list<const char*> files, const std::u32string& characters, std::uint32_t size = 16)
{
    FontSpec spec;
    for (const char* file : files)
        spec.fontFiles.push_back(fontbuild::FindFontFile(file));
    spec.pixelSize = size;
    spec.characters.insert(characters.begin(), characters.end());
    return spec;
}

const fontbuild::GlyphRecord* Find(const BuiltFont& font, char32_t code)
{
    const auto found = std::ranges::find(font.glyphs, code, &fontbuild::GlyphRecord::code);
    return found != font.glyphs.end() ? &*found : nullptr;
}

TEST(FontBuilderCharacters, RangesAndTextFilesAddTheirCharacters)
{
    std::set<char32_t> set;
    fontbuild::AddRange(set, "20-22");
    fontbuild::AddRange(set, "3013");
    fontbuild::AddCharactersOfText(set,
                                   "# 漢 is a comment\nab\r\n\xEF\xBB\xBF"
                                   "設\t\n",
                                   true);
    EXPECT_EQ((std::set<char32_t>{0x20, 0x21, 0x22, 0x3013, 'a', 'b', U'設'}), set);
    for (const char* bad : {"7E-20", "20-10000", "xyz", "", "-7E"})
        EXPECT_THROW(fontbuild::AddRange(set, bad), fontbuild::Error) << bad;
}

TEST(FontBuilderPacking, ShelvesKeepAGapAndTakeTheSmallestPowerOfTwoPage)
{
    struct Case
    {
        std::vector<fontbuild::PackItem> items; // sizes only
        std::uint32_t width, height;
    };
    const Case cases[] = {
        {{{7, 7}, {7, 7}, {7, 7}, {7, 7}}, 16, 16},         // 1 + 7 + 1 + 7 = 16 each way
        {{{7, 7}, {7, 7}, {7, 7}, {7, 7}, {7, 7}}, 32, 16}, // a fifth does not fit 16 x 16; wide before tall
        {{{0, 0}, {3, 0}}, 1, 1},                           // empty glyphs take no room
        {{{30, 5}, {2, 14}}, 32, 32},                       // square before wide: two shelves
    };
    for (const Case& c : cases) {
        std::vector<fontbuild::PackItem> items = c.items;
        const fontbuild::PageSize page = fontbuild::PackOnSmallestPage(items);
        EXPECT_EQ(std::make_pair(c.width, c.height), std::make_pair(page.width, page.height));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto& a = items[i];
            if (a.width == 0 || a.height == 0)
                continue;
            EXPECT_TRUE(a.x >= 1 && a.y >= 1 && a.x + a.width <= page.width && a.y + a.height <= page.height);
            for (std::size_t k = i + 1; k < items.size(); ++k) {
                const auto& b = items[k];
                const bool apart = a.x + a.width + 1 <= b.x || b.x + b.width + 1 <= a.x || a.y + a.height + 1 <= b.y ||
                                   b.y + b.height + 1 <= a.y;
                EXPECT_TRUE(apart || b.width == 0 || b.height == 0) << i << " and " << k;
            }
        }
    }
    std::vector<fontbuild::PackItem> huge{fontbuild::PackItem{5000, 3}};
    EXPECT_THROW(fontbuild::PackOnSmallestPage(huge), fontbuild::Error);
}

// Fallback to the next font, condensing, fixed cells and the errors; then the engine reads the
// table of the two-font build back as written.
TEST(FontBuilderRendering, FallbackScalingCellsAndTheEngineReadsTheTableAsWritten)
{
    const BuiltFont latin = fontbuild::BuildFont(Spec({"DejaVuSans.ttf"}, U"AM"));
    FontSpec both = Spec({"DejaVuSans.ttf", "ipagp.ttf"}, U" AMg?.\u3013設あ");
    both.required = {U'あ', 0x0378}; // U+0378 is in no font
    const BuiltFont mixed = fontbuild::BuildFont(both);
    ASSERT_NE(nullptr, Find(mixed, U'あ'));
    EXPECT_EQ(std::make_pair(Find(latin, 'M')->advance, Find(latin, 'M')->width),
              std::make_pair(Find(mixed, 'M')->advance, Find(mixed, 'M')->width));
    EXPECT_EQ(std::vector<char32_t>{0x0378}, mixed.missing);
    EXPECT_GE(mixed.lineHeight, latin.lineHeight);
    EXPECT_EQ(nullptr, Find(latin, U'あ'));

    FontSpec condensed = Spec({"DejaVuSans.ttf"}, U"AM");
    condensed.scaleX = 0.5;
    const BuiltFont narrow = fontbuild::BuildFont(condensed);
    EXPECT_NEAR(Find(latin, 'M')->advance / 2.0, Find(narrow, 'M')->advance, 1.0);
    EXPECT_EQ(latin.lineHeight, narrow.lineHeight);

    FontSpec cells = Spec({"DejaVuSans.ttf"}, U"iM");
    cells.fixedAdvance = 20;
    const BuiltFont mono = fontbuild::BuildFont(cells);
    EXPECT_EQ((std::vector<int>{20, 20}), (std::vector<int>{Find(mono, 'i')->advance, Find(mono, 'M')->advance}));
    EXPECT_GT(Find(mono, 'i')->offsetX, 5); // centred in its cell

    EXPECT_THROW(fontbuild::FindFontFile("NoSuchFont.ttf"), fontbuild::Error);
    FontSpec none = Spec({"DejaVuSans.ttf"}, U"A");
    none.pixelSize = 0;
    EXPECT_THROW(fontbuild::BuildFont(none), fontbuild::Error);

    const std::vector<std::uint8_t> bytes = fontbuild::EncodeKvf(mixed);
    korvane::CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(0);
    korvane::CTextureFont loaded;
    loaded.LoadTable(stream, false);
    ASSERT_EQ(mixed.glyphs.size(), loaded.GetGlyphCount());
    EXPECT_EQ(mixed.lineHeight, loaded.GetLineHeight(""));
    for (const fontbuild::GlyphRecord& g : mixed.glyphs) {
        const korvane::CTextureFont::Glyph* e = loaded.FindGlyph(g.code);
        ASSERT_NE(nullptr, e);
        EXPECT_EQ((std::vector<int>{g.x, g.y, g.width, g.height, g.offsetX, g.offsetY, g.advance}),
                  (std::vector<int>{e->X, e->Y, e->Width, e->Height, e->OffsetX, e->OffsetY, e->Advance}));
    }
    // A space has no pixels but an advance; the page is a PNG of power-of-two sides.
    EXPECT_EQ(0, loaded.FindGlyph(' ')->Width);
    EXPECT_GT(loaded.FindGlyph(' ')->Advance, 0);
    const auto png = fontbuild::EncodePng(mixed);
    EXPECT_EQ(std::string("\x89PNG", 4), std::string(png.begin(), png.begin() + 4));
    EXPECT_EQ(std::make_pair(0u, 0u),
              std::make_pair(mixed.pageWidth & (mixed.pageWidth - 1), mixed.pageHeight & (mixed.pageHeight - 1)));
}

// A fitted line runs from the highest to the lowest ink of the characters rendered, a tighter line than the face's
// ascender and descender leave; the glyphs themselves stay as they were, moved up together.
TEST(FontBuilderRendering, AFittedLineReachesFromTheHighestToTheLowestInk)
{
    FontSpec spec = Spec({"DejaVuSans.ttf"}, U" Agj|", 23);
    const BuiltFont face = fontbuild::BuildFont(spec);
    spec.fitLineToInk = true;
    const BuiltFont fitted = fontbuild::BuildFont(spec);
    int top = fitted.lineHeight;
    int bottom = 0;
    for (const fontbuild::GlyphRecord& g : fitted.glyphs)
        if (g.height > 0) {
            top = std::min<int>(top, g.offsetY);
            bottom = std::max<int>(bottom, g.offsetY + g.height);
        }
    EXPECT_EQ(std::pair(0, fitted.lineHeight), std::pair(top, bottom));
    EXPECT_LT(fitted.lineHeight, face.lineHeight);
    const int shift = Find(face, 'A')->offsetY - Find(fitted, 'A')->offsetY;
    for (char32_t c : std::u32string_view(U"Agj|")) {
        const fontbuild::GlyphRecord& before = *Find(face, c);
        const fontbuild::GlyphRecord& after = *Find(fitted, c);
        EXPECT_EQ((std::vector<int>{before.width, before.height, before.advance, before.offsetY - shift}),
                  (std::vector<int>{after.width, after.height, after.advance, after.offsetY}));
    }
}

// Rebuilding a font replaces its files as the program replaces any file: a link keeps pointing at the font, the old
// file's permissions stay and nothing but the files is left; a font that cannot be written leaves the old one.
TEST(FontBuilderFiles, ARebuiltFontReplacesItsFilesInPlaceAndAFailedOneLeavesTheOld)
{
    korvane::test::TempDir dir;
    const std::string kvf = dir.Write("fonts/real.kvf", "old");
    const std::string png = dir.Write("fonts/real.png", "old");
    ASSERT_EQ(::chmod(kvf.c_str(), 0640), 0);
    std::filesystem::create_symlink(kvf, dir.File("fonts/linked.kvf"));
    std::filesystem::create_symlink(png, dir.File("fonts/linked.png"));
    const BuiltFont font = fontbuild::BuildFont(Spec({"DejaVuSans.ttf"}, U"A"));

    fontbuild::WriteFont(font, dir.File("fonts/linked"));
    struct stat info;
    ASSERT_EQ(::stat(kvf.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(korvane::test::TempDir::Read(kvf).size(), fontbuild::EncodeKvf(font).size());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("fonts/linked.kvf")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("fonts")), {}), 4);

    // A folder where the table belongs: the write fails naming it, and the old page stays.
    std::filesystem::create_directory(dir.File("fonts/blocked.kvf"));
    const std::string oldPage = dir.Write("fonts/blocked.png", "old");
    EXPECT_THROW(fontbuild::WriteFont(font, dir.File("fonts/blocked")), fontbuild::Error);
    EXPECT_EQ(korvane::test::TempDir::Read(oldPage), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("fonts")), {}), 6);
}

} // namespace
