/** @file Contrast.h Contrast ratios of colours read back from drawings, as the contrast ratio of web content defines
 * them: 1 (no difference) to 21 (black on white). */
#pragma once

#include <cstdint>
#include <vector>

namespace korvane::test
{

/// The relative luminance of a 0xRRGGBB colour (the top byte is ignored), 0 to 1.
double Luminance(std::uint32_t rgb);

/// The contrast ratio of two 0xRRGGBB colours.
double Contrast(std::uint32_t a, std::uint32_t b);

/// The contrast of the text in a picture of one text's box (0xRRGGBB pixels): the colour found most often is what
/// the text is drawn on, the pixel that differs from it most is the text's own colour (the inside of a stroke, past
/// its smoothed edge). 1 for an empty picture.
double TextContrast(const std::vector<std::uint32_t>& pixels);

} // namespace korvane::test
