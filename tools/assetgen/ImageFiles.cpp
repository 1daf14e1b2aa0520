/** @file ImageFiles.cpp PNG through the shared writer, BMP by hand. */
#include "tools/assetgen/ImageFiles.h"

#include "tools/common/PngWriter.h"

namespace assetgen
{

namespace
{

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Raster& raster, bool alpha)
{
    const std::vector<std::uint8_t> pixels = raster.ToBytes(alpha);
    return tools::EncodePng({.width = static_cast<std::uint32_t>(raster.Width()),
                             .height = static_cast<std::uint32_t>(raster.Height()),
                             .colourType = alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                             .pixels = pixels},
                            tools::PngCompression::Smallest);
}

std::vector<std::uint8_t> EncodeBmp24(const Raster& raster)
{
    const std::uint32_t width = static_cast<std::uint32_t>(raster.Width());
    const std::uint32_t height = static_cast<std::uint32_t>(raster.Height());
    const std::uint32_t stride = (width * 3 + 3) & ~3u;
    const std::uint32_t headers = 14 + 40;
    const std::uint32_t imageBytes = stride * height;
    const std::vector<std::uint8_t> rgb = raster.ToBytes(false);

    std::vector<std::uint8_t> out;
    out.reserve(headers + imageBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe32(out, headers + imageBytes);
    PutLe32(out, 0);
    PutLe32(out, headers);
    PutLe32(out, 40);
    PutLe32(out, width);
    PutLe32(out, height); // positive: bottom-up rows
    PutLe16(out, 1);
    PutLe16(out, 24);
    PutLe32(out, 0); // uncompressed
    PutLe32(out, imageBytes);
    PutLe32(out, 2835); // 72 dots per inch
    PutLe32(out, 2835);
    PutLe32(out, 0);
    PutLe32(out, 0);
    for (std::uint32_t row = 0; row < height; ++row) {
        const std::size_t y = height - 1 - row;
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t i = (y * width + x) * 3;
            out.push_back(rgb[i + 2]);
            out.push_back(rgb[i + 1]);
            out.push_back(rgb[i]);
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad) {
            out.push_back(0);
        }
    }
    return out;
}

} // namespace assetgen
