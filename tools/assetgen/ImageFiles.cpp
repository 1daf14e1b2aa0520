/** @file ImageFiles.cpp PNG through libpng, BMP by hand. */
#include "tools/assetgen/ImageFiles.h"

#include <png.h>

#include <stdexcept>
#include <string>

namespace assetgen
{

namespace
{

void AppendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

[[noreturn]] void OnPngError(png_structp, png_const_charp message)
{
    throw std::runtime_error(std::string("PNG encoder: ") + message);
}

void OnPngWarning(png_structp, png_const_charp) {}

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
    const std::size_t rowBytes = static_cast<std::size_t>(raster.Width()) * (alpha ? 4 : 3);
    std::vector<std::uint8_t> out;

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr) {
        throw std::runtime_error("PNG encoder: out of memory");
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("PNG encoder: out of memory");
    }
    try {
        png_set_write_fn(png, &out, AppendToVector, NoFlush);
        png_set_compression_level(png, 9);
        png_set_compression_mem_level(png, 9);
        png_set_compression_strategy(png, 0);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
        png_set_IHDR(png, info, static_cast<png_uint_32>(raster.Width()), static_cast<png_uint_32>(raster.Height()), 8,
                     alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
        png_write_info(png, info);
        for (int y = 0; y < raster.Height(); ++y) {
            png_write_row(png, pixels.data() + static_cast<std::size_t>(y) * rowBytes);
        }
        png_write_end(png, nullptr);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return out;
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
