/** @file FontArchiveTest.cpp The fonts the build packs into data.kva: all seven load and the Japanese ones hold every
 * character of the program's text tables. */
#include <filesystem>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/Testing.h"
#include "support/TempDir.h"
#include "tools/fontbuild/CharacterSet.h"

namespace
{

TEST(BuiltArchiveFonts, TheFontsFolderHoldsTheSevenFontsAndEachLoads)
{
    os::testing::ResetGraphicsHooks();
    ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
    ASSERT_TRUE(korvane::GetApplicationDriver()->InitializeGraphicsForTesting(64, 48));
    korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader> loader(KORVANE_BINARY_DIR "/bin/data.kva");
    std::vector<std::string> files;
    loader.EnumerateFiles("fonts", false, files);
    const std::vector<std::string> tables = {
        "font08t2_c",     "font12t2s",  "qvr2winasciilarge", "qvr2winasciimedium", "qvr2wincondensemedium",
        "qvr2winmessage", "qvr_font_4x"};
    std::set<std::string> expected;
    for (const std::string& name : tables)
        for (const char* extension : {".kvf", ".png"})
            expected.insert("fonts\\" + name + extension);
    EXPECT_EQ(expected, std::set<std::string>(files.begin(), files.end()));

    // Every character the program's own text tables and built-in texts use.
    std::set<char32_t> program;
    for (const auto& entry : std::filesystem::directory_iterator(KORVANE_SOURCE_DIR "/data"))
        if (entry.path().extension() == ".properties")
            fontbuild::AddCharactersOfText(program, korvane::test::TempDir::Read(entry.path().string()), false);
    fontbuild::AddCharactersOfText(program,
                                   korvane::test::TempDir::Read(KORVANE_SOURCE_DIR "/tools/fontbuild/kanji.txt"), true);
    const std::set<std::string> japanese = {"font12t2s", "font08t2_c", "qvr2winmessage", "qvr2wincondensemedium"};
    for (const std::string& name : tables) {
        korvane::CTextureFont font;
        ASSERT_NO_THROW(font.Load(&loader, "fonts\\" + name + ".kvf")) << name;
        ASSERT_NE(nullptr, font.GetTexture()) << name;
        for (char c = 0x20; c < 0x7F; ++c)
            EXPECT_NE(nullptr, font.FindGlyph(static_cast<std::uint16_t>(c))) << name << " lacks " << c;
        if (japanese.count(name) == 0)
            continue;
        EXPECT_NE(nullptr, font.FindGlyph(0x3013)) << name;
        for (char32_t code : program)
            EXPECT_NE(nullptr, font.FindGlyph(static_cast<std::uint16_t>(code)))
                << name << " lacks U+" << std::hex << static_cast<std::uint32_t>(code);
    }

    { // Sized to the layouts: the caption bar (20 pixels, text 2 below its top) and the title's cells.
        korvane::CTextureFont caption, title;
        caption.Load(&loader, "fonts\\FONT12T2S.kvf");
        title.Load(&loader, "fonts\\QVR_FONT_4x.kvf");
        EXPECT_LE(caption.GetLineHeight(""), 18);
        std::int32_t width = 0, height = 0;
        title.MeasureText("VORTHENIX ZAMBRELLIOT", width, height);
        EXPECT_EQ(std::make_pair(672, 32), std::make_pair(width, height));
    } // the fonts' textures go before the device
    korvane::DestroyApplicationDriver();
    os::testing::ResetGraphicsHooks();
}

} // namespace
