/** @file PngDecoder.cpp PNG images through libpng, read straight into A8R8G8B8 rows. */
#include <csetjmp>
#include <cstring>

#include <png.h>

#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

namespace
{

/// Deflate never expands data more than about 1032 times; a header promising more pixels than
/// the compressed bytes could hold is a lie, found before the rows are allocated.
constexpr std::uint64_t kMaxInflateRatio = 1032;
/// Bound on one ancillary chunk (text, profiles) libpng may allocate.
constexpr png_alloc_size_t kMaxChunkBytes = 1u << 20;

struct PngSource
{
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
    /// Copied: libpng may format its message in a buffer that the jump leaves behind.
    char error[128];
};

void ReadBytes(png_structp png, png_bytep out, png_size_t count)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->offset) {
        png_error(png, "the data ends inside the image");
    }
    std::memcpy(out, source->data + source->offset, count);
    source->offset += count;
}

void OnError(png_structp png, png_const_charp message)
{
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (source != nullptr && source->error[0] == '\0' && message != nullptr) {
        std::strncpy(source->error, message, sizeof source->error - 1);
    }
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

/// libpng allocates and clears a buffer of the length an ancillary chunk claims before reading
/// it (the chunk limit does not cover text chunks), so a few bytes claiming a gigabyte cost a
/// gigabyte. Every chunk up to IEND must therefore lie inside the data before libpng sees it.
bool ChunksInsideData(const std::uint8_t* data, std::size_t size)
{
    std::size_t offset = 8;
    while (size - offset >= 8) {
        const std::uint8_t* chunk = data + offset;
        const std::uint32_t length = (static_cast<std::uint32_t>(chunk[0]) << 24) |
                                     (static_cast<std::uint32_t>(chunk[1]) << 16) |
                                     (static_cast<std::uint32_t>(chunk[2]) << 8) | chunk[3];
        // The chunk's data and its checksum.
        if (static_cast<std::uint64_t>(length) + 4 > size - offset - 8) {
            return false;
        }
        if (std::memcmp(chunk + 4, "IEND", 4) == 0) {
            break;
        }
        offset += 8 + static_cast<std::size_t>(length) + 4;
    }
    return true;
}

std::uint32_t ChannelsOf(int colourType)
{
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

/// Everything between setjmp and a possible longjmp: no local here has a destructor, so a jump
/// out of libpng skips nothing. Returns false after a libpng error or a refused header.
bool ReadPng(png_structp png, png_infop info, const DecodeLimits& limits, DecodedImage* out,
             std::vector<png_bytep>* rows, const char** reason)
{
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    int interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    if (width == 0 || height == 0 || width > limits.maxWidth || height > limits.maxHeight) {
        *reason = "image size out of range";
        return false;
    }
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    const std::uint64_t fileRowBytes =
        (static_cast<std::uint64_t>(width) * ChannelsOf(colourType) * static_cast<std::uint64_t>(bitDepth) + 7) / 8;
    if ((fileRowBytes + 1) * height > static_cast<std::uint64_t>(source->size) * kMaxInflateRatio) {
        *reason = "image larger than its data can hold";
        return false;
    }
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colourType == PNG_COLOR_TYPE_GRAY && !alpha) {
        out->fileFormat = Format::L8;
    } else {
        out->fileFormat = alpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
    }

    // Whatever the file holds becomes 8-bit B, G, R, A in memory: an A8R8G8B8 word per texel.
    if (bitDepth == 16) {
        png_set_scale_16(png);
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    png_set_bgr(png);
    if (!alpha) {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
        *reason = "unexpected row layout";
        return false;
    }

    out->width = width;
    out->height = height;
    out->hasAlpha = alpha;
    out->levels.resize(1);
    out->levels[0].resize(static_cast<std::size_t>(width) * height * 4);
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y) {
        (*rows)[y] = out->levels[0].data() + static_cast<std::size_t>(y) * width * 4;
    }
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

Result DecodePng(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    *out = DecodedImage();
    out->fileType = ImageFileFormat::Png;
    out->format = Format::A8R8G8B8;
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0) {
        return detail::InvalidImage(out, "not a PNG image");
    }
    if (!ChunksInsideData(data, size)) {
        return detail::InvalidImage(out, "PNG: the data ends inside a chunk");
    }
    PngSource source{data, size, 0, {}};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
    if (png == nullptr) {
        return detail::InvalidImage(out, "cannot start the PNG reader");
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return detail::InvalidImage(out, "cannot start the PNG reader");
    }
    png_set_read_fn(png, &source, ReadBytes);
    png_set_user_limits(png, limits.maxWidth, limits.maxHeight);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    // Damaged checksums of ancillary chunks do not matter to the picture.
    png_set_crc_action(png, PNG_CRC_DEFAULT, PNG_CRC_QUIET_USE);

    std::vector<png_bytep> rows;
    const char* reason = nullptr;
    const bool ok = ReadPng(png, info, limits, out, &rows, &reason);
    std::string why = reason != nullptr ? reason : (source.error[0] != '\0' ? source.error : "damaged PNG data");
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) {
        why = "PNG: " + why;
        return detail::InvalidImage(out, why.c_str());
    }
    return kOk;
}

} // namespace os::gfx
