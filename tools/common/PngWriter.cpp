/** @file PngWriter.cpp Driving libpng's writer row by row into memory. */
#include "tools/common/PngWriter.h"

#include <stdexcept>
#include <string>

namespace tools
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

/// Writes the header, the rows and the end; the caller owns (and frees) the structures.
void WriteImage(png_structp png, png_infop info, const PngImage& image, PngCompression compression,
                std::vector<std::uint8_t>& out)
{
    png_set_write_fn(png, &out, AppendToVector, NoFlush);
    if (compression == PngCompression::Smallest) {
        png_set_compression_level(png, 9);
        png_set_compression_mem_level(png, 9);
        png_set_compression_strategy(png, 0); // zlib's default strategy, where libpng would pick "filtered"
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    }
    // libpng refuses unknown colour types, depths that do not go with them, and empty or huge sizes here.
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (image.pixels.size() % rowBytes != 0 || image.pixels.size() / rowBytes != image.height) {
        throw std::runtime_error("PNG encoder: " + std::to_string(image.pixels.size()) + " bytes of pixels for " +
                                 std::to_string(image.height) + " rows of " + std::to_string(rowBytes));
    }
    const bool paletted = image.colourType == PNG_COLOR_TYPE_PALETTE;
    if (paletted ? image.palette.empty() || image.palette.size() > PNG_MAX_PALETTE_LENGTH : !image.palette.empty()) {
        throw std::runtime_error("PNG encoder: " + std::to_string(image.palette.size()) +
                                 " palette colours, where a palette picture needs 1 to 256 and others none");
    }
    if (paletted) {
        std::vector<png_color> colours;
        std::vector<png_byte> alphas;
        for (const PngPaletteEntry& entry : image.palette) {
            colours.push_back(png_color{entry.red, entry.green, entry.blue});
            alphas.push_back(entry.alpha);
        }
        png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    }
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        png_write_row(png, image.pixels.data() + static_cast<std::size_t>(y) * rowBytes);
    }
    png_write_end(png, nullptr);
}

} // namespace

std::vector<std::uint8_t> EncodePng(const PngImage& image, PngCompression compression)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png == nullptr) {
        throw std::runtime_error("PNG encoder: out of memory");
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        throw std::runtime_error("PNG encoder: out of memory");
    }
    std::vector<std::uint8_t> out;
    try {
        WriteImage(png, info, image, compression, out);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace tools
