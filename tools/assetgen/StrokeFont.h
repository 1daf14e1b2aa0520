/** @file StrokeFont.h Capital letters drawn as strokes, for the lettering of logos and banners. */
#pragma once

#include <string>

#include "tools/assetgen/Raster.h"

namespace assetgen
{

/// Letters on a 4 x 6 grid (y down), scaled to `height` pixels. Knows A to Z, 0 to 9, space,
/// "-" and "."; other characters draw nothing and advance like a space.
class StrokeFont
{
public:
    /// Width of the text in pixels at the given letter height and spacing (in grid units).
    static double Measure(const std::string& text, double height, double spacing = 1.6);
    /// Strokes the text into the mask with its top-left corner at `origin`; `slant` shears the
    /// letters (pixels of x per pixel of height above the baseline).
    static void Draw(Mask& mask, const std::string& text, Point origin, double height, double strokeWidth,
                     double spacing = 1.6, double slant = 0.0);
};

} // namespace assetgen
