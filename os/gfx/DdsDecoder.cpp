/** @file DdsDecoder.cpp DDS images: DXT1/3/5 blocks and the plain formats textures can hold, with their levels. */
#include <algorithm>
#include <cstring>

#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"
#include "os/system/ByteReader.h"

namespace os::gfx
{

namespace
{

constexpr std::size_t kHeaderEnd = 128;
constexpr std::uint32_t kFlagMipMapCount = 0x20000;
constexpr std::uint32_t kPfAlphaPixels = 0x1;
constexpr std::uint32_t kPfAlpha = 0x2;
constexpr std::uint32_t kPfFourCC = 0x4;
constexpr std::uint32_t kPfRgb = 0x40;
constexpr std::uint32_t kPfLuminance = 0x20000;
constexpr std::uint32_t kCaps2CubeMap = 0x200;
constexpr std::uint32_t kCaps2Volume = 0x200000;

constexpr std::size_t kPixelFormatAt = 76;
constexpr std::size_t kPixelFormatBytes = 32;

/// How the file stores its texels and what the decoder hands on.
struct Layout
{
    Format file = Format::Unknown;   ///< as the file declares it
    Format stored = Format::Unknown; ///< what the levels hold after decoding
    std::uint32_t fileBytesPerTexel = 0;
    bool swapRedBlue = false; ///< 24- or 32-bit with red in the low byte
    bool widen24 = false;     ///< 24-bit texels become X8R8G8B8 words
};

bool Masks(const os::system::ByteReader& pf, std::uint32_t r, std::uint32_t g, std::uint32_t b, std::uint32_t a)
{
    return pf.U32At(16) == r && pf.U32At(20) == g && pf.U32At(24) == b && pf.U32At(28) == a;
}

bool ChooseLayout(const os::system::ByteReader& pf, Layout* layout)
{
    const std::uint32_t flags = pf.U32At(4);
    const std::uint32_t bits = pf.U32At(12);
    const std::uint32_t alphaMask = (flags & (kPfAlphaPixels | kPfAlpha)) != 0 ? pf.U32At(28) : 0;
    if ((flags & kPfFourCC) != 0) {
        const auto fourCC = static_cast<Format>(pf.U32At(8));
        if (fourCC != Format::DXT1 && fourCC != Format::DXT3 && fourCC != Format::DXT5) {
            return false;
        }
        layout->file = layout->stored = fourCC;
        return true;
    }
    if ((flags & kPfRgb) != 0) {
        const std::uint32_t r = pf.U32At(16);
        const std::uint32_t g = pf.U32At(20);
        const std::uint32_t b = pf.U32At(24);
        if (bits == 32 && g == 0xFF00 && ((r == 0xFF0000 && b == 0xFF) || (r == 0xFF && b == 0xFF0000))) {
            layout->swapRedBlue = r == 0xFF;
            const bool alpha = alphaMask == 0xFF000000u;
            layout->stored = alpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
            layout->file = layout->swapRedBlue ? (alpha ? Format::A8B8G8R8 : Format::X8B8G8R8) : layout->stored;
            layout->fileBytesPerTexel = 4;
            return true;
        }
        if (bits == 24 && g == 0xFF00 && ((r == 0xFF0000 && b == 0xFF) || (r == 0xFF && b == 0xFF0000))) {
            layout->swapRedBlue = r == 0xFF;
            layout->widen24 = true;
            layout->file = Format::R8G8B8;
            layout->stored = Format::X8R8G8B8;
            layout->fileBytesPerTexel = 3;
            return true;
        }
        if (bits == 16) {
            static const struct
            {
                std::uint32_t r, g, b, a;
                Format format;
            } kTable[] = {
                {0xF800, 0x07E0, 0x001F, 0, Format::R5G6B5},
                {0x7C00, 0x03E0, 0x001F, 0, Format::X1R5G5B5},
                {0x7C00, 0x03E0, 0x001F, 0x8000, Format::A1R5G5B5},
                {0x0F00, 0x00F0, 0x000F, 0xF000, Format::A4R4G4B4},
            };
            for (const auto& entry : kTable) {
                if (r == entry.r && g == entry.g && b == entry.b && alphaMask == entry.a) {
                    layout->file = layout->stored = entry.format;
                    layout->fileBytesPerTexel = 2;
                    return true;
                }
            }
        }
        return false;
    }
    if ((flags & kPfLuminance) != 0 && bits == 8 && Masks(pf, 0xFF, 0, 0, alphaMask) && alphaMask == 0) {
        layout->file = layout->stored = Format::L8;
        layout->fileBytesPerTexel = 1;
        return true;
    }
    if ((flags & kPfAlpha) != 0 && bits == 8 && alphaMask == 0xFF) {
        layout->file = layout->stored = Format::A8;
        layout->fileBytesPerTexel = 1;
        return true;
    }
    return false;
}

std::uint64_t FileLevelBytes(const Layout& layout, std::uint32_t width, std::uint32_t height)
{
    if (IsCompressedFormat(layout.file)) {
        return LevelBytes(layout.file, width, height);
    }
    return static_cast<std::uint64_t>(width) * height * layout.fileBytesPerTexel;
}

} // namespace

Result DecodeDds(const std::uint8_t* data, std::size_t size, const DecodeLimits& limits, DecodedImage* out)
{
    if (out == nullptr) {
        return kErrInvalidCall;
    }
    *out = DecodedImage();
    out->fileType = ImageFileFormat::Dds;
    const os::system::ByteReader header(data, data == nullptr ? 0 : std::min(size, kHeaderEnd));
    if (!header.Holds(0, kHeaderEnd) || std::memcmp(data, "DDS ", 4) != 0 || header.U32At(4) != 124 ||
        header.U32At(kPixelFormatAt) != 32) {
        return detail::InvalidImage(out, "DDS: not a DDS image");
    }
    const std::uint32_t height = header.U32At(12);
    const std::uint32_t width = header.U32At(16);
    if (width == 0 || height == 0 || width > limits.maxWidth || height > limits.maxHeight) {
        return detail::InvalidImage(out, "DDS: image size out of range");
    }
    if ((header.U32At(112) & (kCaps2CubeMap | kCaps2Volume)) != 0) {
        return detail::InvalidImage(out, "DDS: cube maps and volumes are not textures");
    }
    Layout layout;
    if (!ChooseLayout(os::system::ByteReader(data + kPixelFormatAt, kPixelFormatBytes), &layout)) {
        return detail::InvalidImage(out, "DDS: unsupported pixel format");
    }
    std::uint32_t levels = (header.U32At(8) & kFlagMipMapCount) != 0 ? header.U32At(28) : 1;
    if (levels == 0) {
        levels = 1;
    }
    if (levels > FullChainLevels(width, height)) {
        return detail::InvalidImage(out, "DDS: more levels than the size allows");
    }
    std::uint64_t total = 0;
    for (std::uint32_t level = 0; level < levels; ++level) {
        total += FileLevelBytes(layout, LevelSize(width, level), LevelSize(height, level));
    }
    if (total > size - kHeaderEnd) {
        return detail::InvalidImage(out, "DDS: the data ends inside the levels");
    }

    out->width = width;
    out->height = height;
    out->format = layout.stored;
    out->fileFormat = layout.file;
    out->hasAlpha = FormatHasAlpha(layout.stored);
    out->levels.resize(levels);
    const std::uint8_t* at = data + kHeaderEnd;
    for (std::uint32_t level = 0; level < levels; ++level) {
        const std::uint32_t w = LevelSize(width, level);
        const std::uint32_t h = LevelSize(height, level);
        const auto fileBytes = static_cast<std::size_t>(FileLevelBytes(layout, w, h));
        std::vector<std::uint8_t>& target = out->levels[level];
        if (!layout.swapRedBlue && !layout.widen24) {
            target.assign(at, at + fileBytes);
        } else {
            const std::size_t texels = static_cast<std::size_t>(w) * h;
            target.resize(texels * 4);
            for (std::size_t i = 0; i < texels; ++i) {
                const std::uint8_t* p = at + i * layout.fileBytesPerTexel;
                const std::uint8_t lo = layout.swapRedBlue ? p[2] : p[0];
                const std::uint8_t hi = layout.swapRedBlue ? p[0] : p[2];
                target[i * 4 + 0] = lo;
                target[i * 4 + 1] = p[1];
                target[i * 4 + 2] = hi;
                target[i * 4 + 3] = layout.fileBytesPerTexel == 4 ? p[3] : 0xFF;
            }
        }
        at += fileBytes;
    }
    return kOk;
}

} // namespace os::gfx
