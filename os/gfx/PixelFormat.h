/** @file PixelFormat.h Sizes of texture formats and conversions between them and 32-bit ARGB words. */
#pragma once

#include <cstddef>
#include <cstdint>

#include "os/gfx/Types.h"

namespace os::gfx
{

/// Whether textures of the format can be made, locked and sampled by the layer.
bool IsTextureFormat(Format format);
bool IsCompressedFormat(Format format);
/// Whether texels of the format carry alpha of their own.
bool FormatHasAlpha(Format format);
/// Bytes of one texel, or of one 4x4 block for compressed formats; 0 for formats textures cannot have.
std::uint32_t FormatUnitBytes(Format format);

/// Bytes from one row to the next of a level `width` texels wide (block rows for compressed formats).
std::uint64_t RowPitch(Format format, std::uint32_t width);
/// Rows (block rows for compressed formats) of a level `height` texels high.
std::uint32_t RowCount(Format format, std::uint32_t height);
/// Bytes of a whole level.
std::uint64_t LevelBytes(Format format, std::uint32_t width, std::uint32_t height);
/// Size of mip level `level` of a dimension.
inline std::uint32_t LevelSize(std::uint32_t size, std::uint32_t level)
{
    const std::uint32_t s = level >= 32 ? 0 : size >> level;
    return s == 0 ? 1 : s;
}
/// Levels of a full chain down to 1 x 1.
std::uint32_t FullChainLevels(std::uint32_t width, std::uint32_t height);
/// The smallest power of two at least `size` (size 0 gives 1; sizes above 2^31 give 0).
std::uint32_t NextPowerOfTwo(std::uint32_t size);

/// Writes `count` ARGB words (0xAARRGGBB) as texels of an uncompressed format. Formats
/// without alpha store it as opaque; luminance is the usual weighted sum of red, green and blue.
void ConvertFromArgb(const std::uint32_t* source, std::size_t count, Format format, std::uint8_t* out);
/// Reads `count` texels of an uncompressed format as ARGB words. X formats read alpha 1,
/// A8 reads black with its alpha, L8 reads grey and opaque.
void ConvertToArgb(const std::uint8_t* source, std::size_t count, Format format, std::uint32_t* out);
/// Expands a DXT1, DXT3 or DXT5 level of width x height texels into ARGB words, rows `width` apart.
void DecompressBlocks(Format format, const std::uint8_t* blocks, std::uint32_t width, std::uint32_t height,
                      std::uint32_t* out);
/// Halves an ARGB image (each side down to 1) with a 2 x 2 box filter; `out` holds the smaller level.
void BoxDownsample(const std::uint32_t* source, std::uint32_t width, std::uint32_t height, std::uint32_t* out);

} // namespace os::gfx
