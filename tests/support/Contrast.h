/** @file Contrast.h Contrast ratios of colours read back from drawings, as the contrast ratio of web content defines
 * them: 1 (no difference) to 21 (black on white). */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test
{

class FontReader;
struct ReferenceImage;

/// The relative luminance of a 0xRRGGBB colour (the top byte is ignored), 0 to 1.
double Luminance(std::uint32_t rgb);

/// The contrast ratio of two 0xRRGGBB colours.
double Contrast(std::uint32_t a, std::uint32_t b);

/// The contrast of a text against what is drawn behind it, from the colours of the pixels its glyphs cover fully and
/// of those they leave bare inside their cells (0xRRGGBB): the covered pixel nearest the ground in luminance against
/// the bare pixel nearest the text, each passing over the nearest hundredth of its kind (a star, a glint). So a
/// translucent text counts where it lies on its darkest ground and the ground where it is lightest. 1 when either
/// kind is empty or the text does not stand apart from its ground at all.
double TextContrast(const std::vector<std::uint32_t>& covered, const std::vector<std::uint32_t>& bare);

/// The contrast of a text drawn in the font from about (x, y) in the picture, one unit to a pixel: TextContrast at
/// the placement within `slack` pixels either way where it is highest (anywhere else covered pixels fall on the
/// ground). Pixels outside the picture or left of `fromX` are not counted.
double PlacedTextContrast(const ReferenceImage& picture, FontReader& font, const std::string& text, int x, int y,
                          int slack = 2, int fromX = 0);

} // namespace korvane::test
