/** @file PaintSurfaceTest.cpp Fills, copies and text on the software paint surface, clipped at every edge. */
#include <gtest/gtest.h>

#include <algorithm>

#include "os/window/PaintSurface.h"

namespace
{

using os::window::Bitmap;
using os::window::PaintSurface;

std::vector<std::uint32_t> Pixels(const Bitmap& image)
{
    return {image.GetPixels(), image.GetPixels() + image.GetWidth() * image.GetHeight()};
}

int CountColour(const Bitmap& image, std::uint32_t argb)
{
    return static_cast<int>(std::ranges::count(Pixels(image), argb));
}

TEST(PaintSurface, FillIsOpaqueBlitAndTextAreClippedAndTextUsesTheFixedCellDrawingOnlyInk)
{
    PaintSurface surface(8, 6, 0);
    surface.FillRect(-3, -2, 5, 4, 0x202020);
    surface.FillRect(6, 4, 100, 100, 0x11FFEEDD); // the alpha byte of the colour is ignored
    surface.FillRect(2, 2, -5, 3, 0x123456);      // negative sizes draw nothing
    surface.FillRect(0x7FFFFFF0, 0, 0x7FFFFFF0, 2, 0x123456);
    EXPECT_EQ((std::vector<int>{CountColour(surface, 0xFF202020u), CountColour(surface, 0xFFFFEEDDu),
                                CountColour(surface, 0xFF123456u)}),
              (std::vector<int>{2 * 2, 4, 0}));
    EXPECT_EQ(surface.GetPixel(7, 5), 0xFFFFEEDDu);
    // Blits clip against source and target.
    Bitmap source(3, 3);
    for (int i = 0; i < 9; ++i)
        source.SetPixel(i % 3, i / 3, 0xFF000000u | static_cast<std::uint32_t>(i + 1));
    PaintSurface target(4, 4, 0);
    target.Blit(source, -1, -1, 3, 3, 0, 0); // the top-left pixel of the source falls off
    target.Blit(source, 3, 3, 10, 10, 2, 2);
    EXPECT_EQ((std::vector<std::uint32_t>{target.GetPixel(0, 0), target.GetPixel(1, 1), target.GetPixel(2, 2),
                                          target.GetPixel(3, 3)}),
              (std::vector<std::uint32_t>{0xFF000005u, 0xFF000009u, 0u, 0xFF000009u}));
    const std::uint32_t corner = target.GetPixel(0, 0);
    target.Blit(source, 0, 0, 2, 2, 5, 5);   // source rectangle outside the source
    target.Blit(source, 0, 0, 3, 3, -2, -2); // only the source's (0,0) lands at (2,2)
    EXPECT_EQ(std::pair(target.GetPixel(2, 2), target.GetPixel(0, 0)), std::pair(0xFF000001u, corner));
    // Text uses the fixed cell and draws only ink.
    int width = 0, height = 0;
    PaintSurface::MeasureText("-- P A U S E D --", width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(17 * PaintSurface::kGlyphWidth, PaintSurface::kGlyphHeight));
    PaintSurface text(20, 20, 0xFF202020u);
    text.DrawText(0, 0, "|", 0xDCDCDC);
    // The bar is the middle column of the glyph, seven rows tall, starting three rows down.
    EXPECT_EQ(CountColour(text, 0xFFDCDCDCu), 7);
    EXPECT_EQ((std::vector<std::uint32_t>{text.GetPixel(2, 3), text.GetPixel(2, 9), text.GetPixel(2, 2)}),
              (std::vector<std::uint32_t>{0xFFDCDCDCu, 0xFFDCDCDCu, 0xFF202020u}));
    // Unprintable bytes draw '?' and clip at the edge.
    PaintSurface other(20, 20, 0), question(20, 20, 0);
    other.DrawText(14, 15, "\x01\xFF", 0xFFFFFF);
    question.DrawText(14, 15, "??", 0xFFFFFF);
    EXPECT_GT(CountColour(other, 0xFFFFFFFFu), 0);
    EXPECT_EQ(Pixels(other), Pixels(question));
}

} // namespace
