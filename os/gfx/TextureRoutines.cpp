/** @file TextureRoutines.cpp Textures from images in memory, blank textures and filled textures. */
#include "os/gfx/TextureRoutines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "os/gfx/Device.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"

namespace os::gfx
{

namespace
{

using Words = std::vector<std::uint32_t>;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t ChooseSize(std::uint32_t requested, std::uint32_t image)
{
    if (requested == kDefault) {
        return NextPowerOfTwo(image);
    }
    return (requested == 0 || requested == kDefaultNonPow2) ? image : requested;
}

/// The image's first level as ARGB words at the top-left of a width x height surface.
Words PlaceArgb(const DecodedImage& image, std::uint32_t width, std::uint32_t height, std::uint32_t colorKey)
{
    Words source(static_cast<std::size_t>(image.width) * image.height);
    if (IsCompressedFormat(image.format)) {
        DecompressBlocks(image.format, image.levels[0].data(), image.width, image.height, source.data());
    } else {
        ConvertToArgb(image.levels[0].data(), source.size(), image.format, source.data());
    }
    if (colorKey != 0) {
        std::replace(source.begin(), source.end(), colorKey, 0u);
    }
    if (width == image.width && height == image.height) {
        return source;
    }
    Words surface(static_cast<std::size_t>(width) * height, 0);
    const std::uint32_t columns = std::min(width, image.width);
    const std::uint32_t rows = std::min(height, image.height);
    for (std::uint32_t y = 0; y < rows; ++y) {
        std::memcpy(surface.data() + static_cast<std::size_t>(y) * width,
                    source.data() + static_cast<std::size_t>(y) * image.width, columns * sizeof(std::uint32_t));
    }
    return surface;
}

Bytes ToFormat(const Words& words, Format format)
{
    Bytes bytes(words.size() * FormatUnitBytes(format));
    ConvertFromArgb(words.data(), words.size(), format, bytes.data());
    return bytes;
}

/// Levels built from ARGB words: the image placed, then box-filtered halves.
std::vector<Bytes> BuildArgbLevels(DecodedImage& image, std::uint32_t width, std::uint32_t height, std::uint32_t levels,
                                   Format format, std::uint32_t colorKey)
{
    std::vector<Bytes> out(levels);
    // The common case (a power-of-two PNG, one level, 32-bit texels) keeps the decoded bytes.
    const bool wordFormat = format == Format::A8R8G8B8 || format == Format::X8R8G8B8;
    if (wordFormat && levels == 1 && colorKey == 0 && image.format == Format::A8R8G8B8 && image.width == width &&
        image.height == height) {
        out[0] = std::move(image.levels[0]);
        return out;
    }
    Words words = PlaceArgb(image, width, height, colorKey);
    for (std::uint32_t level = 0; level < levels; ++level) {
        const std::uint32_t w = LevelSize(width, level);
        const std::uint32_t h = LevelSize(height, level);
        out[level] = ToFormat(words, format);
        if (level + 1 < levels) {
            Words next(static_cast<std::size_t>(LevelSize(width, level + 1)) * LevelSize(height, level + 1));
            BoxDownsample(words.data(), w, h, next.data());
            words.swap(next);
        }
    }
    return out;
}

/// Levels of a compressed image kept as blocks: each stored level at the top-left of the surface's.
std::vector<Bytes> BuildBlockLevels(DecodedImage& image, std::uint32_t width, std::uint32_t height,
                                    std::uint32_t levels)
{
    std::vector<Bytes> out(levels);
    for (std::uint32_t level = 0; level < levels; ++level) {
        const std::uint32_t w = LevelSize(width, level);
        const std::uint32_t h = LevelSize(height, level);
        const std::uint32_t iw = LevelSize(image.width, level);
        const std::uint32_t ih = LevelSize(image.height, level);
        if (w == iw && h == ih) {
            out[level] = std::move(image.levels[level]);
            continue;
        }
        out[level].assign(static_cast<std::size_t>(LevelBytes(image.format, w, h)), 0);
        const auto pitch = static_cast<std::size_t>(RowPitch(image.format, w));
        const auto imagePitch = static_cast<std::size_t>(RowPitch(image.format, iw));
        const std::size_t copy = std::min(pitch, imagePitch);
        const std::uint32_t rows = std::min(RowCount(image.format, h), RowCount(image.format, ih));
        for (std::uint32_t row = 0; row < rows; ++row) {
            std::memcpy(out[level].data() + row * pitch, image.levels[level].data() + row * imagePitch, copy);
        }
    }
    return out;
}

/// Whether each stored level fills whole blocks of the surface's level, or the whole level: only
/// then does copying blocks leave the surface beyond the image transparent black (a partial
/// block carries texels past the image's edge).
bool BlocksFitSurface(const DecodedImage& image, std::uint32_t width, std::uint32_t height, std::uint32_t levels)
{
    for (std::uint32_t level = 0; level < levels; ++level) {
        const std::uint32_t iw = LevelSize(image.width, level);
        const std::uint32_t ih = LevelSize(image.height, level);
        if ((iw != LevelSize(width, level) && iw % 4 != 0) || (ih != LevelSize(height, level) && ih % 4 != 0)) {
            return false;
        }
    }
    return true;
}

std::uint32_t ToByte(float value)
{
    const float clamped = std::clamp(value, 0.0f, 1.0f);
    return static_cast<std::uint32_t>(std::lround(clamped * 255.0f));
}

} // namespace

Result CreateTextureFromFileInMemoryEx(Device* device, const void* data, std::size_t size, std::uint32_t width,
                                       std::uint32_t height, std::uint32_t mipLevels, std::uint32_t usage,
                                       Format format, Pool pool, std::uint32_t, std::uint32_t, std::uint32_t colorKey,
                                       ImageInfo* info, std::shared_ptr<Texture>* texture)
{
    if (texture == nullptr) {
        return kErrInvalidCall;
    }
    texture->reset();
    if (device == nullptr || data == nullptr || size == 0) {
        return kErrInvalidCall;
    }
    Caps caps;
    device->GetDeviceCaps(&caps);
    const DecodeLimits limits{caps.MaxTextureWidth, caps.MaxTextureHeight};
    DecodedImage image;
    Result result = DecodeImage(static_cast<const std::uint8_t*>(data), size, limits, &image);
    if (Failed(result)) {
        return result;
    }
    const std::uint32_t w = ChooseSize(width, image.width);
    const std::uint32_t h = ChooseSize(height, image.height);
    if (w == 0 || h == 0 || w > caps.MaxTextureWidth || h > caps.MaxTextureHeight) {
        return kErrInvalidData;
    }
    const std::uint32_t most = FullChainLevels(w, h);
    const std::uint32_t levels = (mipLevels == kDefault || mipLevels == 0) ? most : std::min(mipLevels, most);
    Format target = format;
    if (target == Format::Unknown) {
        target = image.fileType == ImageFileFormat::Dds ? image.format
                                                        : (image.hasAlpha ? Format::A8R8G8B8 : Format::X8R8G8B8);
    }
    if (!IsTextureFormat(target)) {
        return kErrInvalidCall;
    }
    std::vector<Bytes> built;
    const bool keepBlocks = IsCompressedFormat(target) && target == image.format && colorKey == 0 &&
                            image.levels.size() >= levels && BlocksFitSurface(image, w, h, levels);
    if (keepBlocks) {
        built = BuildBlockLevels(image, w, h, levels);
    } else {
        // Blocks are never made here: a compressed format without stored levels to keep becomes A8R8G8B8.
        if (IsCompressedFormat(target)) {
            target = Format::A8R8G8B8;
        }
        built = BuildArgbLevels(image, w, h, levels, target, colorKey);
    }
    result = device->CreateTexture(w, h, levels, usage, target, pool, texture);
    if (Failed(result)) {
        return result;
    }
    for (std::uint32_t level = 0; level < levels; ++level) {
        (*texture)->WriteLevel(level, std::move(built[level]));
    }
    if (info != nullptr) {
        info->Width = image.width;
        info->Height = image.height;
        info->Depth = 1;
        info->MipLevels = static_cast<std::uint32_t>(image.levels.size());
        info->Format = image.fileFormat;
        info->ResourceType = ResourceType::Texture;
        info->ImageFileFormat = image.fileType;
    }
    return kOk;
}

Result CreateTexture(Device* device, std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels,
                     std::uint32_t usage, Format format, Pool pool, std::shared_ptr<Texture>* texture)
{
    if (texture == nullptr) {
        return kErrInvalidCall;
    }
    texture->reset();
    if (device == nullptr) {
        return kErrInvalidCall;
    }
    const std::uint32_t w = (width == 0 || width == kDefault) ? 256 : width;
    const std::uint32_t h = (height == 0 || height == kDefault) ? 256 : height;
    const std::uint32_t levels = mipLevels == kDefault ? 0 : mipLevels;
    return device->CreateTexture(w, h, levels, usage, format == Format::Unknown ? Format::A8R8G8B8 : format, pool,
                                 texture);
}

Result FillTexture(Texture* texture, FillFunction function, void* data)
{
    if (texture == nullptr || function == nullptr || IsCompressedFormat(texture->GetFormat())) {
        return kErrInvalidCall;
    }
    for (std::uint32_t level = 0; level < texture->GetLevelCount(); ++level) {
        SurfaceDesc desc;
        texture->GetLevelDesc(level, &desc);
        Words words(static_cast<std::size_t>(desc.Width) * desc.Height);
        const TexelCoord size{1.0f / static_cast<float>(desc.Width), 1.0f / static_cast<float>(desc.Height)};
        for (std::uint32_t y = 0; y < desc.Height; ++y) {
            for (std::uint32_t x = 0; x < desc.Width; ++x) {
                const TexelCoord centre{(static_cast<float>(x) + 0.5f) * size.x,
                                        (static_cast<float>(y) + 0.5f) * size.y};
                TexelColor colour;
                function(&colour, &centre, &size, data);
                words[static_cast<std::size_t>(y) * desc.Width + x] =
                    (ToByte(colour.w) << 24) | (ToByte(colour.x) << 16) | (ToByte(colour.y) << 8) | ToByte(colour.z);
            }
        }
        const Result result = texture->WriteLevel(level, ToFormat(words, texture->GetFormat()));
        if (Failed(result)) {
            return result;
        }
    }
    return kOk;
}

} // namespace os::gfx
