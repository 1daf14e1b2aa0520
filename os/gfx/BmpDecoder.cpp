/** @file BmpDecoder.cpp Uncompressed and bit-field BMP images (1, 4, 8, 16, 24, 32 bits, either row order). */
#include <algorithm>
#include <bit>
#include <cstring>

#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

namespace os::gfx
{

namespace
{

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::size_t kFileHeaderBytes = 14;
/// The palette format of 8-bit and smaller images, as the image information reports it.
constexpr Format kPaletteFormat = static_cast<Format>(41);
constexpr Format kR8G8B8 = Format::R8G8B8;

std::uint32_t U16(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

/// One channel of a bit-field image: where its bits lie and how to widen them to 8 bits.
struct Channel
{
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t maximum = 0;

    bool Set(std::uint32_t m)
    {
        mask = m;
        if (m == 0) {
            return true;
        }
        shift = std::countr_zero(m);
        const std::uint64_t bits = static_cast<std::uint64_t>(m) >> shift;
        // Contiguous masks only: bits + 1 is then a power of two.
        if ((bits & (bits + 1)) != 0) {
            return false;
        }
        maximum = bits;
        return true;
    }

    std::uint32_t Read(std::uint32_t pixel, std::uint32_t absent) const
    {
        if (mask == 0) {
            return absent;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint32_t>((value * 255 + maximum / 2) / maximum);
    }
};

} // namespace

Result DecodeBmp(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    *out = DecodedImage();
    out->fileType = ImageFileFormat::Bmp;
    out->format = Format::A8R8G8B8;
    if (data == nullptr || size < kFileHeaderBytes + 12 || data[0] != 'B' || data[1] != 'M') {
        return detail::InvalidImage(out, "BMP: not a BMP image");
    }
    const std::uint32_t pixelOffset = U32(data + 10);
    const std::uint32_t headerBytes = U32(data + kFileHeaderBytes);
    if (headerBytes != 12 && headerBytes != 40 && headerBytes != 52 && headerBytes != 56 && headerBytes != 108 &&
        headerBytes != 124) {
        return detail::InvalidImage(out, "BMP: unknown header");
    }
    if (kFileHeaderBytes + headerBytes > size) {
        return detail::InvalidImage(out, "BMP: the data ends inside the header");
    }
    const std::uint8_t* h = data + kFileHeaderBytes;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bpp = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t paletteCount = 0;
    std::uint32_t paletteEntryBytes = 4;
    std::uint32_t masks[4] = {0, 0, 0, 0};
    std::size_t afterHeader = kFileHeaderBytes + headerBytes;
    if (headerBytes == 12) {
        width = U16(h + 4);
        height = static_cast<std::int16_t>(U16(h + 6));
        bpp = U16(h + 10);
        paletteEntryBytes = 3;
    } else {
        width = static_cast<std::int32_t>(U32(h + 4));
        height = static_cast<std::int32_t>(U32(h + 8));
        bpp = U16(h + 14);
        compression = U32(h + 16);
        paletteCount = U32(h + 32);
        if (headerBytes >= 52) {
            masks[0] = U32(h + 40);
            masks[1] = U32(h + 44);
            masks[2] = U32(h + 48);
        }
        if (headerBytes >= 56) {
            masks[3] = U32(h + 52);
        }
        if (headerBytes == 40 && (compression == kBitFields || compression == kAlphaBitFields)) {
            const std::size_t maskBytes = compression == kAlphaBitFields ? 16 : 12;
            if (afterHeader + maskBytes > size) {
                return detail::InvalidImage(out, "BMP: the data ends inside the colour masks");
            }
            for (std::size_t i = 0; i < maskBytes / 4; ++i) {
                masks[i] = U32(data + afterHeader + i * 4);
            }
            afterHeader += maskBytes;
        }
    }
    const bool topDown = height < 0;
    if (topDown) {
        height = -height;
    }
    if (width < 1 || height < 1 || width > limits.maxWidth || height > limits.maxHeight) {
        return detail::InvalidImage(out, "BMP: image size out of range");
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        return detail::InvalidImage(out, "BMP: unsupported bit depth");
    }
    const bool bitFields = compression == kBitFields || compression == kAlphaBitFields;
    if (compression != kRgb && !(bitFields && (bpp == 16 || bpp == 32))) {
        return detail::InvalidImage(out, "BMP: unsupported compression");
    }

    // The palette of indexed images, bounded by the bit depth and by the data. An index past a
    // short palette is opaque black, as in the engine's own bitmap loader: an image without alpha
    // never carries a clear pixel.
    std::uint32_t palette[256];
    std::fill(std::begin(palette), std::end(palette), 0xFF000000u);
    if (bpp <= 8) {
        const std::uint32_t most = 1u << bpp;
        const std::uint32_t count = (paletteCount == 0 || paletteCount > most) ? most : paletteCount;
        if (afterHeader + static_cast<std::uint64_t>(count) * paletteEntryBytes > size) {
            return detail::InvalidImage(out, "BMP: the data ends inside the palette");
        }
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint8_t* e = data + afterHeader + static_cast<std::size_t>(i) * paletteEntryBytes;
            palette[i] =
                0xFF000000u | (static_cast<std::uint32_t>(e[2]) << 16) | (static_cast<std::uint32_t>(e[1]) << 8) | e[0];
        }
    }

    Channel channels[4];
    if (!bitFields) {
        if (bpp == 16) {
            masks[0] = 0x7C00;
            masks[1] = 0x03E0;
            masks[2] = 0x001F;
        } else if (bpp == 32) {
            masks[0] = 0x00FF0000;
            masks[1] = 0x0000FF00;
            masks[2] = 0x000000FF;
        }
        masks[3] = 0;
    }
    for (int i = 0; i < 4; ++i) {
        if (!channels[i].Set(masks[i])) {
            return detail::InvalidImage(out, "BMP: colour masks are not contiguous");
        }
    }

    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) * bpp + 31) / 32) * 4;
    if (pixelOffset > size || stride * static_cast<std::uint64_t>(height) > size - pixelOffset) {
        return detail::InvalidImage(out, "BMP: the data ends inside the pixels");
    }

    const bool alpha = masks[3] != 0;
    out->hasAlpha = alpha;
    if (bpp <= 8) {
        out->fileFormat = kPaletteFormat;
    } else if (bpp == 24) {
        out->fileFormat = kR8G8B8;
    } else if (bpp == 16) {
        out->fileFormat = masks[1] == 0x07E0 ? Format::R5G6B5 : (alpha ? Format::A1R5G5B5 : Format::X1R5G5B5);
    } else {
        out->fileFormat = alpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
    }

    const auto w = static_cast<std::uint32_t>(width);
    const auto hgt = static_cast<std::uint32_t>(height);
    out->width = w;
    out->height = hgt;
    out->levels.resize(1);
    out->levels[0].resize(static_cast<std::size_t>(w) * hgt * 4);
    auto* target = out->levels[0].data();
    for (std::uint32_t y = 0; y < hgt; ++y) {
        const std::uint32_t fileRow = topDown ? y : hgt - 1 - y;
        const std::uint8_t* row = data + pixelOffset + static_cast<std::size_t>(fileRow * stride);
        std::uint8_t* dst = target + static_cast<std::size_t>(y) * w * 4;
        for (std::uint32_t x = 0; x < w; ++x) {
            std::uint32_t argb = 0;
            if (bpp <= 8) {
                const std::uint32_t bit = x * bpp;
                const std::uint32_t index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
                argb = palette[index];
            } else if (bpp == 24) {
                const std::uint8_t* p = row + static_cast<std::size_t>(x) * 3;
                argb = 0xFF000000u | (static_cast<std::uint32_t>(p[2]) << 16) |
                       (static_cast<std::uint32_t>(p[1]) << 8) | p[0];
            } else {
                const std::uint32_t pixel =
                    bpp == 16 ? U16(row + static_cast<std::size_t>(x) * 2) : U32(row + static_cast<std::size_t>(x) * 4);
                argb = (channels[3].Read(pixel, 0xFF) << 24) | (channels[0].Read(pixel, 0) << 16) |
                       (channels[1].Read(pixel, 0) << 8) | channels[2].Read(pixel, 0);
            }
            std::memcpy(dst + static_cast<std::size_t>(x) * 4, &argb, 4);
        }
    }
    return kOk;
}

} // namespace os::gfx
