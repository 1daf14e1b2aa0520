/** @file PaintSurfaceTest.cpp Fills, copies and text on the software paint surface, clipped at every edge. */
#include <gtest/gtest.h>

#include "os/window/PaintSurface.h"

namespace
{

using os::window::Bitmap;
using os::window::PaintSurface;

int CountColour(const PaintSurface& surface, std::uint32_t argb)
{
    int n = 0;
    for (int y = 0; y < surface.GetHeight(); ++y)
        for (int x = 0; x < surface.GetWidth(); ++x)
            n += surface.GetPixel(x, y) == argb ? 1 : 0;
    return n;
}

TEST(PaintSurface, FillIsOpaqueAndClipped)
{
    PaintSurface surface(8, 6, 0);
    surface.FillRect(-3, -2, 5, 4, 0x202020);
    EXPECT_EQ(CountColour(surface, 0xFF202020u), 2 * 2);
    surface.FillRect(6, 4, 100, 100, 0x11FFEEDD); // the alpha byte of the colour is ignored
    EXPECT_EQ(surface.GetPixel(7, 5), 0xFFFFEEDDu);
    EXPECT_EQ(CountColour(surface, 0xFFFFEEDDu), 4);
    surface.FillRect(2, 2, -5, 3, 0x123456); // negative sizes draw nothing
    surface.FillRect(0x7FFFFFF0, 0, 0x7FFFFFF0, 2, 0x123456);
    EXPECT_EQ(CountColour(surface, 0xFF123456u), 0);
}

TEST(PaintSurface, BlitClipsAgainstSourceAndTarget)
{
    Bitmap source(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            source.SetPixel(x, y, 0xFF000000u | static_cast<std::uint32_t>(y * 3 + x + 1));
    PaintSurface surface(4, 4, 0);
    surface.Blit(source, -1, -1, 3, 3, 0, 0); // the top-left pixel of the source falls off
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF000005u);
    EXPECT_EQ(surface.GetPixel(1, 1), 0xFF000009u);
    EXPECT_EQ(surface.GetPixel(2, 2), 0u);

    surface.Blit(source, 3, 3, 10, 10, 2, 2);
    EXPECT_EQ(surface.GetPixel(3, 3), 0xFF000009u);
    PaintSurface copy = surface;
    surface.Blit(source, 0, 0, 2, 2, 5, 5);   // source rectangle outside the source
    surface.Blit(source, 0, 0, 3, 3, -2, -2); // only the source's (0,0) lands at (2,2)
    EXPECT_EQ(surface.GetPixel(2, 2), 0xFF000001u);
    EXPECT_EQ(surface.GetPixel(0, 0), copy.GetPixel(0, 0));
}

TEST(PaintSurface, TextUsesTheFixedCellAndDrawsOnlyInk)
{
    int width = 0, height = 0;
    PaintSurface::MeasureText("-- P A U S E D --", width, height);
    EXPECT_EQ(width, 17 * PaintSurface::kGlyphWidth);
    EXPECT_EQ(height, PaintSurface::kGlyphHeight);

    PaintSurface surface(20, 20, 0xFF202020u);
    surface.DrawText(0, 0, "|", 0xDCDCDC);
    // The bar is the middle column of the glyph, seven rows tall, starting three rows down.
    EXPECT_EQ(CountColour(surface, 0xFFDCDCDCu), 7);
    EXPECT_EQ(surface.GetPixel(2, 3), 0xFFDCDCDCu);
    EXPECT_EQ(surface.GetPixel(2, 9), 0xFFDCDCDCu);
    EXPECT_EQ(surface.GetPixel(2, 2), 0xFF202020u);

    PaintSurface other(20, 20, 0);
    other.DrawText(14, 15, "\x01\xFF", 0xFFFFFF); // unprintable bytes draw '?' and clip at the edge
    EXPECT_GT(CountColour(other, 0xFFFFFFFFu), 0);
    PaintSurface question(20, 20, 0);
    question.DrawText(14, 15, "??", 0xFFFFFF);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            EXPECT_EQ(other.GetPixel(x, y), question.GetPixel(x, y));
}

} // namespace
