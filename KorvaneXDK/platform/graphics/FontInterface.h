/** @file FontInterface.h The interface every text of the canvas is drawn and measured through. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/PackedColor.h"
#include "os/gfx/Types.h"

namespace korvane
{

/// A font draws narrow (UTF-8) text with its top-left at a point of the current world
/// transform; shaders, transforms and render states are the caller's. Fonts live on the
/// main thread.
class IFont : public IInterface
{
public:
    /// Draws the text in one line; line feeds are characters like any other.
    virtual void DrawText(const std::string& text, std::int32_t x, std::int32_t y, PackedColor color) = 0;
    /// Draws the text from (x, y) as far as it fits up to rect.right (the room is right - x + 1),
    /// marking a cut with an ellipsis; only rect.right is read.
    virtual void DrawTextClipped(std::int32_t x, std::int32_t y, const os::gfx::Rect& rect, const std::string& text,
                                 PackedColor color) = 0;
    /// The text's width (sum of advances) and the font's line height.
    virtual void MeasureText(const std::string& text, std::int32_t& width, std::int32_t& height) = 0;
    /// The one line height of the font, whatever the text.
    virtual std::int32_t GetLineHeight(const std::string& text) = 0;
    /// What the canvas divides the text transform by (below 2 it also shifts by half a pixel).
    virtual std::int32_t GetPixelScale() = 0;
    /// Where the font's own coordinates land on the render target until the next call: a map, in the
    /// canvas's matrix convention, to target pixels whose edges lie on whole numbers. While one is set, a
    /// font that places glyphs itself puts each glyph's corners on whole pixels, so no glyph row or column
    /// falls between the pixels' sample points. Null: glyphs go exactly where the coordinates say.
    virtual void SetPixelGrid(const Matrix4* toPixels) { static_cast<void>(toPixels); }

    // Names the canvas and its registry use.
    std::int32_t GetHeight(const std::string& text) { return GetLineHeight(text); }
    void Measure(std::int32_t& width, std::int32_t& height, const std::string& text)
    {
        MeasureText(text, width, height);
    }
};

} // namespace korvane
