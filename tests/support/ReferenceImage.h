/** @file ReferenceImage.h The pictures drawing tests compare with (PNG files in the source tree), and the one switch,
 * KORVANE_UPDATE_REFERENCE_IMAGES=1, that has the tests write them afresh instead. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::test
{

/// A picture as a device reads it back: 0xAARRGGBB words, the top row first. Files keep red, green and blue only.
struct ReferenceImage
{
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;
};

/// Whether the environment has KORVANE_UPDATE_REFERENCE_IMAGES=1: the tests then write their reference pictures
/// instead of comparing with them (look at them before committing them).
bool UpdatingReferenceImages();

/// Writes the picture as an RGB PNG, creating its folder; throws std::runtime_error when it cannot.
void WriteImage(const std::string& path, const ReferenceImage& image);

/// The PNG at the path as 0xFFRRGGBB words; an empty picture (0 x 0) when there is none or it cannot be decoded.
ReferenceImage ReadImage(const std::string& path);

} // namespace korvane::test
