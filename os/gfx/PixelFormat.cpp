/** @file PixelFormat.cpp Texture format sizes, texel conversions, block decompression and box filtering. */
#include "os/gfx/PixelFormat.h"

#include <algorithm>
#include <cstring>

namespace os::gfx
{

namespace
{

std::uint32_t Expand5(std::uint32_t v)
{
    return (v << 3) | (v >> 2);
}
std::uint32_t Expand6(std::uint32_t v)
{
    return (v << 2) | (v >> 4);
}
std::uint32_t Expand4(std::uint32_t v)
{
    return (v << 4) | v;
}

std::uint32_t Argb(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return (a << 24) | (r << 16) | (g << 8) | b;
}

std::uint16_t Load16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Store16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

/// The four colours of a colour block; `opaqueOnly` forces the four-colour mode (DXT3/5).
void BlockPalette(const std::uint8_t* block, bool opaqueOnly, std::uint32_t palette[4])
{
    const std::uint32_t c0 = Load16(block);
    const std::uint32_t c1 = Load16(block + 2);
    std::uint32_t r[4];
    std::uint32_t g[4];
    std::uint32_t b[4];
    r[0] = Expand5(c0 >> 11);
    g[0] = Expand6((c0 >> 5) & 0x3F);
    b[0] = Expand5(c0 & 0x1F);
    r[1] = Expand5(c1 >> 11);
    g[1] = Expand6((c1 >> 5) & 0x3F);
    b[1] = Expand5(c1 & 0x1F);
    std::uint32_t a3 = 0xFF;
    if (c0 > c1 || opaqueOnly) {
        r[2] = (2 * r[0] + r[1]) / 3;
        g[2] = (2 * g[0] + g[1]) / 3;
        b[2] = (2 * b[0] + b[1]) / 3;
        r[3] = (r[0] + 2 * r[1]) / 3;
        g[3] = (g[0] + 2 * g[1]) / 3;
        b[3] = (b[0] + 2 * b[1]) / 3;
    } else {
        r[2] = (r[0] + r[1]) / 2;
        g[2] = (g[0] + g[1]) / 2;
        b[2] = (b[0] + b[1]) / 2;
        r[3] = g[3] = b[3] = 0;
        a3 = 0;
    }
    for (int i = 0; i < 4; ++i) {
        palette[i] = Argb(i == 3 ? a3 : 0xFF, r[i], g[i], b[i]);
    }
}

} // namespace

bool IsTextureFormat(Format format)
{
    return FormatUnitBytes(format) != 0;
}

bool IsCompressedFormat(Format format)
{
    return format == Format::DXT1 || format == Format::DXT3 || format == Format::DXT5;
}

bool FormatHasAlpha(Format format)
{
    switch (format) {
    case Format::A8R8G8B8:
    case Format::A1R5G5B5:
    case Format::A4R4G4B4:
    case Format::A8:
    case Format::DXT1:
    case Format::DXT3:
    case Format::DXT5:
        return true;
    default:
        return false;
    }
}

std::uint32_t FormatUnitBytes(Format format)
{
    switch (format) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8:
        return 4;
    case Format::R5G6B5:
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
    case Format::A4R4G4B4:
        return 2;
    case Format::L8:
    case Format::A8:
        return 1;
    case Format::DXT1:
        return 8;
    case Format::DXT3:
    case Format::DXT5:
        return 16;
    default:
        return 0;
    }
}

std::uint64_t RowPitch(Format format, std::uint32_t width)
{
    const std::uint64_t units = IsCompressedFormat(format) ? (static_cast<std::uint64_t>(width) + 3) / 4 : width;
    return units * FormatUnitBytes(format);
}

std::uint32_t RowCount(Format format, std::uint32_t height)
{
    return IsCompressedFormat(format) ? static_cast<std::uint32_t>((static_cast<std::uint64_t>(height) + 3) / 4)
                                      : height;
}

std::uint64_t LevelBytes(Format format, std::uint32_t width, std::uint32_t height)
{
    return RowPitch(format, width) * RowCount(format, height);
}

std::uint32_t FullChainLevels(std::uint32_t width, std::uint32_t height)
{
    std::uint32_t size = std::max(width, height);
    std::uint32_t levels = 1;
    while (size > 1) {
        size >>= 1;
        ++levels;
    }
    return levels;
}

std::uint32_t NextPowerOfTwo(std::uint32_t size)
{
    if (size > 0x80000000u) {
        return 0;
    }
    std::uint32_t p = 1;
    while (p < size) {
        p <<= 1;
    }
    return p;
}

void ConvertFromArgb(const std::uint32_t* source, std::size_t count, Format format, std::uint8_t* out)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t c = source[i];
        const std::uint32_t a = c >> 24;
        const std::uint32_t r = (c >> 16) & 0xFF;
        const std::uint32_t g = (c >> 8) & 0xFF;
        const std::uint32_t b = c & 0xFF;
        switch (format) {
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: {
            const std::uint32_t word = format == Format::X8R8G8B8 ? (c | 0xFF000000u) : c;
            std::memcpy(out + i * 4, &word, 4);
            break;
        }
        case Format::R5G6B5:
            Store16(out + i * 2, ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
            break;
        case Format::X1R5G5B5:
        case Format::A1R5G5B5: {
            const std::uint32_t top = (format == Format::X1R5G5B5 || a >= 0x80) ? 0x8000u : 0u;
            Store16(out + i * 2, top | ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            break;
        }
        case Format::A4R4G4B4:
            Store16(out + i * 2, ((a >> 4) << 12) | ((r >> 4) << 8) | ((g >> 4) << 4) | (b >> 4));
            break;
        case Format::L8:
            out[i] = static_cast<std::uint8_t>((r * 77 + g * 150 + b * 29 + 128) >> 8);
            break;
        case Format::A8:
            out[i] = static_cast<std::uint8_t>(a);
            break;
        default:
            return;
        }
    }
}

void ConvertToArgb(const std::uint8_t* source, std::size_t count, Format format, std::uint32_t* out)
{
    for (std::size_t i = 0; i < count; ++i) {
        switch (format) {
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: {
            std::uint32_t word;
            std::memcpy(&word, source + i * 4, 4);
            out[i] = format == Format::X8R8G8B8 ? (word | 0xFF000000u) : word;
            break;
        }
        case Format::R5G6B5: {
            const std::uint32_t v = Load16(source + i * 2);
            out[i] = Argb(0xFF, Expand5(v >> 11), Expand6((v >> 5) & 0x3F), Expand5(v & 0x1F));
            break;
        }
        case Format::X1R5G5B5:
        case Format::A1R5G5B5: {
            const std::uint32_t v = Load16(source + i * 2);
            const std::uint32_t a = (format == Format::X1R5G5B5 || (v & 0x8000) != 0) ? 0xFF : 0;
            out[i] = Argb(a, Expand5((v >> 10) & 0x1F), Expand5((v >> 5) & 0x1F), Expand5(v & 0x1F));
            break;
        }
        case Format::A4R4G4B4: {
            const std::uint32_t v = Load16(source + i * 2);
            out[i] = Argb(Expand4(v >> 12), Expand4((v >> 8) & 0xF), Expand4((v >> 4) & 0xF), Expand4(v & 0xF));
            break;
        }
        case Format::L8:
            out[i] = Argb(0xFF, source[i], source[i], source[i]);
            break;
        case Format::A8:
            out[i] = Argb(source[i], 0, 0, 0);
            break;
        default:
            return;
        }
    }
}

void DecompressBlocks(Format format, const std::uint8_t* blocks, std::uint32_t width, std::uint32_t height,
                      std::uint32_t* out)
{
    const std::uint32_t blockBytes = FormatUnitBytes(format);
    const std::uint32_t across = (width + 3) / 4;
    const std::uint32_t down = (height + 3) / 4;
    for (std::uint32_t by = 0; by < down; ++by) {
        for (std::uint32_t bx = 0; bx < across; ++bx) {
            const std::uint8_t* block = blocks + (static_cast<std::size_t>(by) * across + bx) * blockBytes;
            const std::uint8_t* colour = format == Format::DXT1 ? block : block + 8;
            std::uint32_t palette[4];
            BlockPalette(colour, format != Format::DXT1, palette);
            std::uint32_t alpha[16];
            if (format == Format::DXT3) {
                for (int i = 0; i < 16; ++i) {
                    alpha[i] = Expand4((block[i / 2] >> ((i % 2) * 4)) & 0xF);
                }
            } else if (format == Format::DXT5) {
                std::uint32_t a[8];
                a[0] = block[0];
                a[1] = block[1];
                if (a[0] > a[1]) {
                    for (std::uint32_t k = 1; k < 7; ++k) {
                        a[k + 1] = ((7 - k) * a[0] + k * a[1]) / 7;
                    }
                } else {
                    for (std::uint32_t k = 1; k < 5; ++k) {
                        a[k + 1] = ((5 - k) * a[0] + k * a[1]) / 5;
                    }
                    a[6] = 0;
                    a[7] = 0xFF;
                }
                std::uint64_t bits = 0;
                for (int i = 0; i < 6; ++i) {
                    bits |= static_cast<std::uint64_t>(block[2 + i]) << (8 * i);
                }
                for (int i = 0; i < 16; ++i) {
                    alpha[i] = a[(bits >> (3 * i)) & 7];
                }
            }
            const std::uint32_t indices = static_cast<std::uint32_t>(colour[4]) | (colour[5] << 8) | (colour[6] << 16) |
                                          (static_cast<std::uint32_t>(colour[7]) << 24);
            for (std::uint32_t py = 0; py < 4; ++py) {
                for (std::uint32_t px = 0; px < 4; ++px) {
                    const std::uint32_t x = bx * 4 + px;
                    const std::uint32_t y = by * 4 + py;
                    if (x >= width || y >= height) {
                        continue;
                    }
                    const std::uint32_t i = py * 4 + px;
                    std::uint32_t c = palette[(indices >> (2 * i)) & 3];
                    if (format != Format::DXT1) {
                        c = (c & 0x00FFFFFFu) | (alpha[i] << 24);
                    }
                    out[static_cast<std::size_t>(y) * width + x] = c;
                }
            }
        }
    }
}

void BoxDownsample(const std::uint32_t* source, std::uint32_t width, std::uint32_t height, std::uint32_t* out)
{
    const std::uint32_t w = std::max(width / 2, 1u);
    const std::uint32_t h = std::max(height / 2, 1u);
    for (std::uint32_t y = 0; y < h; ++y) {
        const std::uint32_t y0 = std::min(y * 2, height - 1);
        const std::uint32_t y1 = std::min(y * 2 + 1, height - 1);
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::uint32_t x0 = std::min(x * 2, width - 1);
            const std::uint32_t x1 = std::min(x * 2 + 1, width - 1);
            const std::uint32_t texels[4] = {
                source[static_cast<std::size_t>(y0) * width + x0], source[static_cast<std::size_t>(y0) * width + x1],
                source[static_cast<std::size_t>(y1) * width + x0], source[static_cast<std::size_t>(y1) * width + x1]};
            std::uint32_t result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                std::uint32_t sum = 2;
                for (std::uint32_t t : texels) {
                    sum += (t >> shift) & 0xFF;
                }
                result |= (sum / 4) << shift;
            }
            out[static_cast<std::size_t>(y) * w + x] = result;
        }
    }
}

} // namespace os::gfx
