/** @file TextureRoutines.h The extension library's texture routines: create from an image in memory, create
 * blank, fill through a per-texel function. Any thread. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "os/gfx/TextureTypes.h"

namespace os::gfx
{

class Device;
class Texture;

/// "Choose for me": sizes rounded up to powers of two, a full mip chain.
inline constexpr std::uint32_t kDefault = 0xFFFFFFFFu;
/// Sizes exactly the image's.
inline constexpr std::uint32_t kDefaultNonPow2 = 0xFFFFFFFEu;

/// Image filters.
namespace filter
{
inline constexpr std::uint32_t None = 1;
inline constexpr std::uint32_t Point = 2;
inline constexpr std::uint32_t Linear = 3;
inline constexpr std::uint32_t Triangle = 4;
inline constexpr std::uint32_t Box = 5;
} // namespace filter

struct TexelCoord
{
    float x = 0.0f;
    float y = 0.0f;
};

/// A texel's value: x, y, z, w are red, green, blue, alpha in 0..1.
struct TexelColor
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

/// Called once per texel of every level with the texel's centre and size in texture coordinates.
using FillFunction = void (*)(TexelColor* out, const TexelCoord* texCoord, const TexelCoord* texelSize, void* data);

/// Decodes a PNG, JPEG, BMP or DDS image and makes a texture of it. Width and height kDefault
/// round the image's size up to powers of two, 0 or kDefaultNonPow2 keep it; the image is
/// copied unscaled to the top-left corner and the rest is transparent black (every filter
/// places it so). Mip levels kDefault or 0 make a full chain (box-filtered), 1 one level.
/// Format Unknown keeps a DDS file's format, else A8R8G8B8 for images with alpha and
/// X8R8G8B8 without. Sizes beyond the device's maximum and damaged data fail with the
/// invalid-data code. `info` (may be null) receives what the file declares.
Result CreateTextureFromFileInMemoryEx(Device* device, const void* data, std::size_t size, std::uint32_t width,
                                       std::uint32_t height, std::uint32_t mipLevels, std::uint32_t usage,
                                       Format format, Pool pool, std::uint32_t filter, std::uint32_t mipFilter,
                                       std::uint32_t colorKey, ImageInfo* info, std::shared_ptr<Texture>* texture);

/// A blank texture: sizes kDefault or 0 become 256, levels kDefault or 0 a full chain, format
/// Unknown A8R8G8B8.
Result CreateTexture(Device* device, std::uint32_t width, std::uint32_t height, std::uint32_t mipLevels,
                     std::uint32_t usage, Format format, Pool pool, std::shared_ptr<Texture>* texture);

/// Writes every texel of every level (uncompressed formats, any pool) from the function.
Result FillTexture(Texture* texture, FillFunction function, void* data);

} // namespace os::gfx
