/** @file PngWriter.h PNG encoding through libpng, shared by the generators and the tests' own pictures. */
#pragma once

// The colour types are libpng's PNG_COLOR_TYPE_* codes, which callers name.
#include <png.h>

#include <cstdint>
#include <span>
#include <vector>

namespace tools
{

/// One palette colour; its alpha goes to the tRNS chunk.
struct PngPaletteEntry
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0xFF;
};

/// A picture to encode. `pixels` holds `height` rows top to bottom, each packed as the colour type and bit
/// depth lay it out (samples in channel order, 16-bit samples big-endian, rows without padding).
struct PngImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    std::span<const std::uint8_t> pixels{};
    std::span<const PngPaletteEntry> palette{}; ///< palette pictures only
};

enum class PngCompression
{
    Default,  ///< libpng's own settings
    Smallest, ///< the strongest deflate settings and every row filter tried: slower, smaller
};

/// The PNG file of the picture. No time chunk is written, so the same picture always gives the same bytes.
/// Throws std::runtime_error ("PNG encoder: ...") when the pixels do not fill the picture or libpng refuses it.
std::vector<std::uint8_t> EncodePng(const PngImage& image, PngCompression compression = PngCompression::Default);

} // namespace tools
