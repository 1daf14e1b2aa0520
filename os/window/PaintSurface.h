/** @file PaintSurface.h The software surface the window is painted on while rendering is paused. */
#pragma once

#include <cstdint>
#include <string>

#include "os/window/Bitmap.h"

namespace os::window
{

/// A client-area-sized 32-bit surface with the few drawing operations the paused window needs:
/// solid fills, copies of bitmaps and text in a built-in fixed-size font. Everything clips.
class PaintSurface : public Bitmap
{
public:
    using Bitmap::Bitmap;

    /// Fills the rectangle with an opaque colour (0xRRGGBB; the alpha byte is set to 0xFF).
    void FillRect(int x, int y, int width, int height, std::uint32_t rgb);
    /// Copies a rectangle of the source to (x, y), pixel for pixel.
    void Blit(const Bitmap& source, int x, int y, int width, int height, int sourceX, int sourceY);
    /// Draws text with a transparent background; each byte below 0x20 or above 0x7E draws as '?'.
    /// Line breaks are not interpreted.
    void DrawText(int x, int y, const std::string& text, std::uint32_t rgb);
    /// Width and height of the text in the built-in font.
    static void MeasureText(const std::string& text, int& width, int& height);

    static constexpr int kGlyphWidth = 6;
    static constexpr int kGlyphHeight = 13;
};

} // namespace os::window
