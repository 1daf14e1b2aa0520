/** @file TextureFont.h A bitmap font: a glyph table (".kvf" or ".ini") and the ".png" page of the same name. */
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/platform/graphics/FontInterface.h"

namespace korvane
{

class IDataLoader;
class IKorvaneStream;
class ITexture;

/// Glyphs are rectangles of one texture, keyed by UTF-16 code unit. Each UTF-8 code point up to
/// U+FFFF is one unit; a code point above it or a malformed byte has no glyph of its own. A unit
/// without a glyph takes that of U+3013, else that of "?", else it is skipped.
///
/// Failures of Load throw and leave the font partly loaded: the values read so far stay, and the
/// texture of an earlier load stays until a new one has loaded. A font without a texture draws
/// (and binds) nothing.
class CTextureFont : public IFont, public virtual CNonCopyable
{
public:
    /// Pixels of the texture; Right and Bottom are X + Width and Y + Height.
    struct Glyph
    {
        std::int16_t X = 0;
        std::int16_t Y = 0;
        std::int16_t Right = 0;
        std::int16_t Bottom = 0;
        std::int16_t Width = 0;
        std::int16_t Height = 0;
        std::int16_t OffsetX = 0;
        std::int16_t OffsetY = 0;
        std::int16_t Advance = 0;
    };

    CTextureFont();
    ~CTextureFont() override;

    void DrawText(const std::string& text, std::int32_t x, std::int32_t y, PackedColor color) override;
    void DrawTextClipped(std::int32_t x, std::int32_t y, const os::gfx::Rect& rect, const std::string& text,
                         PackedColor color) override;
    void MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height) override;
    std::int32_t GetLineHeight(const std::string& text) override;
    std::int32_t GetPixelScale() override;
    /// Glyph quads go on whole pixels of the grid: each quad's top-left corner to the nearest pixel
    /// corner and its far corner a whole number of pixels on, at least one, never fewer than its
    /// size covers (so a glyph drawn smaller than its texels keeps every texel row and column in
    /// reach of a sample). Only grids that keep axes on axes are used; others leave glyphs as they are.
    void SetPixelGrid(const Matrix4* toPixels) override;

    /// Reads the table `path` through `loader` (the driver's when null): the text format when
    /// the extension is ".ini" in any case, else KVF; then the texture `path` with ".png".
    virtual void Load(IDataLoader* loader, const std::string& path);

    /// Reads only a glyph table (text format or KVF) from a stream, replacing glyphs and metrics;
    /// the texture is untouched. Load's first half, open to tests and fuzzing.
    void LoadTable(IKorvaneStream& stream, bool textFormat);

    /// The glyph of the code unit itself (no fallback), or null.
    const Glyph* FindGlyph(std::uint16_t code) const;
    std::size_t GetGlyphCount() const { return glyphs_.size(); }
    std::int32_t GetLeftOffset() const { return leftOffset_; }
    std::int32_t GetTopOffset() const { return topOffset_; }
    std::uint32_t GetStartCode() const { return startCode_; }
    std::uint32_t GetEndCode() const { return endCode_; }
    boost::shared_ptr<ITexture> GetTexture() const { return texture_; }

private:
    /// A decoded text: one entry per code unit, kNoUnit where no glyph of its own can exist.
    using Units = std::vector<std::uint32_t>;

    static void Decode(const std::string& text, Units& out);
    const Glyph* LookUp(std::uint32_t unit) const;
    const Glyph* FindOwn(std::uint32_t unit) const;
    void DrawUnits(const Units& units, std::int32_t x, std::int32_t y, PackedColor color);
    void LoadKvf(IKorvaneStream& stream);
    void LoadIni(IKorvaneStream& stream);

    boost::shared_ptr<ITexture> texture_;
    std::uint32_t startCode_ = 0;
    std::uint32_t endCode_ = 0;
    std::int32_t lineHeight_ = 0;
    std::int32_t leftOffset_ = 0;
    std::int32_t topOffset_ = 0;
    std::map<std::uint16_t, Glyph> glyphs_;
    bool gridSet_ = false;
    Matrix4 grid_;

    /// The layout of the two-colour declaration (28 bytes).
    struct Vertex
    {
        float x, y, z;
        std::uint32_t color0, color1;
        float u, v;
    };

    /// Scratch buffers reused by every draw, so drawing a line allocates nothing.
    Units units_;
    Units clipped_;
    std::vector<Vertex> vertices_;
};

} // namespace korvane
