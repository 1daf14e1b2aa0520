/** @file ImageFiles.h Encoding pictures as PNG and as uncompressed 24-bit BMP. */
#pragma once

#include <cstdint>
#include <vector>

#include "tools/assetgen/Raster.h"

namespace assetgen
{

/// A PNG of the raster, RGBA or (alpha false) RGB, 8 bits per channel. The encoder settings are
/// fixed and no time chunk is written, so the same picture always gives the same bytes.
std::vector<std::uint8_t> EncodePng(const Raster& raster, bool alpha);

/// An uncompressed bottom-up 24-bit BMP (BITMAPINFOHEADER, no colour table) of the raster's
/// colours; alpha is ignored.
std::vector<std::uint8_t> EncodeBmp24(const Raster& raster);

} // namespace assetgen
