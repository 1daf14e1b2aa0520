/** @file TestImageWriter.h Images made in memory for the texture tests and benchmarks: PNG through the tools'
 * writer, JPEG through libjpeg, BMP and DDS byte by byte. */
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "tools/common/PngWriter.h"

namespace gfxtest
{

/// The colour of texel (x, y) as 0xAARRGGBB.
using PixelFunction = std::function<std::uint32_t(std::uint32_t x, std::uint32_t y)>;

/// Pictures of the texture tests. Pattern: a distinct colour (and alpha) per texel.
inline constexpr auto Pattern = [](std::uint32_t x, std::uint32_t y) {
    return (static_cast<std::uint32_t>(0x40 + x * 0x30 + y * 0x08) << 24) | ((x * 50) << 16) | ((y * 100) << 8) |
           (0x80 + x * 8 + y);
};
inline constexpr auto Opaque = [](std::uint32_t x, std::uint32_t y) { return Pattern(x, y) | 0xFF000000u; };
inline constexpr auto Grey = [](std::uint32_t x, std::uint32_t y) {
    return 0xFF000000u | ((x * 40 + y * 20) & 0xFF) * 0x010101u;
};

/// The value's low `bytes` bytes, little-endian.
inline std::string LE(std::uint32_t value, int bytes = 4)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
}
/// Each value as a little-endian 32-bit word.
inline std::string Words(std::initializer_list<std::uint32_t> values)
{
    std::string out;
    for (std::uint32_t v : values)
        out += LE(v);
    return out;
}

/// A PNG of the given colour type (PNG_COLOR_TYPE_*) and bit depth. Palette images take up to
/// 256 distinct colours of the function (alpha through tRNS); grey images take the green channel.
inline std::string WritePng(std::uint32_t width, std::uint32_t height, int colourType, int bitDepth,
                            const PixelFunction& pixel)
{
    std::vector<std::uint32_t> palette;
    std::vector<tools::PngPaletteEntry> entries;
    const auto indexOf = [&palette](std::uint32_t c) {
        return static_cast<std::uint32_t>(std::find(palette.begin(), palette.end(), c) - palette.begin());
    };
    for (std::uint32_t i = 0; colourType == PNG_COLOR_TYPE_PALETTE && i < width * height; ++i) {
        if (const std::uint32_t c = pixel(i % width, i / width); indexOf(c) == palette.size()) {
            palette.push_back(c);
            entries.push_back({static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                               static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 24)});
        }
    }
    std::vector<std::uint8_t> pixels;
    // 16-bit samples repeat the 8-bit value: exact after scaling down.
    auto put = [&](std::uint32_t v) {
        pixels.insert(pixels.end(), bitDepth == 16 ? 2u : 1u, static_cast<std::uint8_t>(v));
    };
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::uint32_t c = pixel(x, y);
            if (colourType == PNG_COLOR_TYPE_PALETTE)
                put(indexOf(c));
            else if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
                put((c >> 8) & 0xFF);
            else
                for (int shift : {16, 8, 0})
                    put((c >> shift) & 0xFF);
            if (colourType & PNG_COLOR_MASK_ALPHA)
                put(c >> 24);
        }
    }
    const std::vector<std::uint8_t> png = tools::EncodePng({width, height, colourType, bitDepth, pixels, entries});
    return std::string(png.begin(), png.end());
}

/// A colour JPEG of high quality.
inline std::string WriteJpeg(std::uint32_t width, std::uint32_t height, const PixelFunction& pixel, int quality = 95)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
    for (JSAMPROW rows[] = {row.data()}; info.next_scanline < height; jpeg_write_scanlines(&info, rows, 1))
        for (std::uint32_t i = 0; i < width * 3; ++i)
            row[i] = static_cast<unsigned char>(pixel(i / 3, info.next_scanline) >> (16 - 8 * (i % 3)));
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

/// A BMP with a 40-byte header: 24 or 32 bits (32 with an alpha bit field), bottom-up unless `topDown`.
inline std::string WriteBmp(std::uint32_t width, std::uint32_t height, int bpp, bool topDown,
                            const PixelFunction& pixel)
{
    const std::uint32_t stride = ((width * static_cast<std::uint32_t>(bpp) + 31) / 32) * 4;
    const bool fields = bpp == 32;
    const std::uint32_t offset = 14 + 40 + (fields ? 16 : 0);
    std::string out = "BM" +
                      Words({offset + stride * height, 0, offset, 40, width,
                             topDown ? static_cast<std::uint32_t>(-static_cast<std::int32_t>(height)) : height}) +
                      LE(1, 2) + LE(static_cast<std::uint32_t>(bpp), 2) +
                      Words({fields ? 6u : 0u, stride * height, 2835, 2835, 0, 0}); // 6: alpha bit fields
    if (fields)
        out += Words({0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000});
    for (std::uint32_t r = 0; r < height; ++r) {
        std::string row;
        for (std::uint32_t x = 0; x < width; ++x)
            row += LE(pixel(x, topDown ? r : height - 1 - r), bpp / 8);
        out += row.append(stride - row.size(), '\0');
    }
    return out;
}

/// A DDS holding the given levels of a four-character-code format ("DXT1", ...) or, with
/// `fourCC` empty, 32-bit A8R8G8B8 texels.
inline std::string WriteDds(std::uint32_t width, std::uint32_t height, const std::string& fourCC,
                            const std::vector<std::string>& levels)
{
    const bool chain = levels.size() > 1;
    std::string out = "DDS " +
                      Words({124, 0x1007u | (chain ? 0x20000u : 0u), height, width,
                             static_cast<std::uint32_t>(levels.empty() ? 0 : levels[0].size()), 0,
                             static_cast<std::uint32_t>(levels.size())}) +
                      std::string(44, '\0');
    if (fourCC.empty())
        out += Words({32, 0x41, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}); // 0x41: RGB with alpha
    else
        out += Words({32, 0x4}) + fourCC + std::string(20, '\0');
    out += LE(0x1000u | (chain ? 0x400008u : 0u)) + std::string(16, '\0');
    for (const std::string& level : levels)
        out += level;
    return out;
}

/// One DXT colour block whose every texel is colour 0 (an R5G6B5 value).
inline std::string SolidColourBlock(std::uint16_t colour)
{
    return Words({colour, 0});
}

/// The texels of an image as A8R8G8B8 words in memory order.
inline std::string ArgbBytes(std::uint32_t width, std::uint32_t height, const PixelFunction& pixel)
{
    std::string out;
    for (std::uint32_t i = 0; i < width * height; ++i)
        out += LE(pixel(i % width, i / width));
    return out;
}

} // namespace gfxtest
