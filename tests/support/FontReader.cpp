/** @file FontReader.cpp The built fonts' tables and pages, read with the engine's font and the platform's decoder. */
#include "support/FontReader.h"

#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/ImageDecoder.h"
#include "support/TempDir.h"

namespace korvane::test
{

struct FontReader::Glyphs
{
    CTextureFont font;
    os::gfx::DecodedImage page;
};

FontReader::FontReader(const std::string& name) : glyphs_(std::make_unique<Glyphs>())
{
    const std::string base = KORVANE_BINARY_DIR "/generated/fontbuild/fonts/" + name;
    CFileStream table(base + ".kvf", 1, 1);
    glyphs_->font.LoadTable(table, false);
    const std::string png = TempDir::Read(base + ".png");
    os::gfx::DecodePng(reinterpret_cast<const std::uint8_t*>(png.data()), png.size(), {}, &glyphs_->page);
}

FontReader::~FontReader() = default;

std::int32_t FontReader::LineHeight()
{
    return glyphs_->font.GetLineHeight("");
}

std::vector<std::pair<int, int>> FontReader::Pixels(const std::string& text, int x, int y, bool covered)
{
    std::vector<std::pair<int, int>> pixels;
    CTextureFont& font = glyphs_->font;
    const os::gfx::DecodedImage& page = glyphs_->page;
    int pen = x + font.GetLeftOffset();
    for (const char c : text) {
        const CTextureFont::Glyph* glyph = font.FindGlyph(static_cast<std::uint8_t>(c));
        if (glyph == nullptr || page.levels.empty())
            continue;
        for (int gy = 0; gy < glyph->Height; ++gy)
            for (int gx = 0; gx < glyph->Width; ++gx) {
                const std::size_t texel = static_cast<std::size_t>(glyph->Y + gy) * page.width + glyph->X + gx;
                const std::uint8_t alpha = page.levels[0][texel * 4 + 3];
                if (alpha == (covered ? 0xFF : 0x00))
                    pixels.emplace_back(pen + glyph->OffsetX + gx, y + font.GetTopOffset() + glyph->OffsetY + gy);
            }
        pen += glyph->Advance;
    }
    return pixels;
}

bool FontReader::ShowsWhite(const std::vector<std::uint32_t>& pixels, int width, int height, const std::string& text,
                            int x, int y, int slack)
{
    if (pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    const auto covered = Pixels(text, x, y, true);
    const auto bare = Pixels(text, x, y, false);
    // The share of the pixels, moved by (dx, dy), that are white, in tenths.
    const auto whiteTenths = [&](const std::vector<std::pair<int, int>>& cells, int dx, int dy) {
        std::size_t white = 0;
        for (const auto& [px, py] : cells)
            if (px + dx >= 0 && px + dx < width && py + dy >= 0 && py + dy < height &&
                (pixels[static_cast<std::size_t>((py + dy) * width + px + dx)] & 0xF0F0F0u) == 0xF0F0F0u)
                ++white;
        return cells.empty() ? 0 : white * 10 / cells.size();
    };
    for (int dy = -slack; dy <= slack; ++dy)
        for (int dx = -slack; dx <= slack; ++dx)
            if (whiteTenths(covered, dx, dy) >= 9 && whiteTenths(bare, dx, dy) < 1)
                return true;
    return false;
}

} // namespace korvane::test
