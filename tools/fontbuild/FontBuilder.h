/** @file FontBuilder.h Renders font files through FreeType into a glyph table and its page. */
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace fontbuild
{

/// What to render.
struct FontSpec
{
    /// Font files in order of preference: the first one holding a character renders it.
    std::vector<std::string> fontFiles;
    /// The em size in pixels.
    std::uint32_t pixelSize = 16;
    /// Horizontal scale of outlines and advances (below 1 condenses).
    double scaleX = 1.0;
    /// When not 0, every advance is this many pixels and each glyph is centred in its cell.
    std::uint32_t fixedAdvance = 0;
    /// The line from the highest to the lowest ink of the rendered glyphs instead of from the faces'
    /// ascender to their descender (which leave room for marks the characters may not have).
    bool fitLineToInk = false;
    /// Characters to render where a font holds them (ranges may name unassigned codes).
    std::set<char32_t> characters;
    /// Characters that should be there; those no font holds are listed in BuiltFont::missing.
    std::set<char32_t> required;
};

/// One glyph as the table stores it (pixels of the page; offsets from the pen at the line's top).
struct GlyphRecord
{
    std::uint16_t code = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t offsetX = 0;
    std::int16_t offsetY = 0;
    std::int16_t advance = 0;
};

struct BuiltFont
{
    std::int32_t leftOffset = 0;
    std::int32_t topOffset = 0;
    std::int32_t lineHeight = 0;
    /// Ordered by code.
    std::vector<GlyphRecord> glyphs;
    std::uint32_t pageWidth = 0;
    std::uint32_t pageHeight = 0;
    /// Coverage per page pixel, rows top-down.
    std::vector<std::uint8_t> coverage;
    /// Required characters no font holds.
    std::vector<char32_t> missing;
};

/// Renders the characters; throws Error for unreadable fonts, bad sizes or a page too large.
BuiltFont BuildFont(const FontSpec& spec);

/// The table as a ".kvf" file: RIFF form "KVFT" with the chunks "head" and "glpt".
std::vector<std::uint8_t> EncodeKvf(const BuiltFont& font);
/// The page as a ".png" file: white pixels with the coverage as alpha.
std::vector<std::uint8_t> EncodePng(const BuiltFont& font);
/// Writes `base` + ".kvf" and `base` + ".png", each through a temporary file renamed into place.
void WriteFont(const BuiltFont& font, const std::string& base);

/// A font file by path, or by file name in the system's font folders; throws Error when absent.
std::string FindFontFile(const std::string& name);

} // namespace fontbuild
