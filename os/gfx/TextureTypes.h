/** @file TextureTypes.h Records, pools, usages and flags of textures and surfaces, with Direct3D 9's values. */
#pragma once

#include <cstdint>

#include "os/gfx/Types.h"

namespace os::gfx
{

/// Where a resource lives; the engine stores the numbers (its legacy flag doubles as a pool).
enum class Pool : std::uint32_t
{
    Default = 0,
    Managed = 1,
    SystemMem = 2,
    Scratch = 3,
};

/// Resource usage bits.
namespace usage
{
inline constexpr std::uint32_t RenderTarget = 0x1;
inline constexpr std::uint32_t DepthStencil = 0x2;
inline constexpr std::uint32_t Dynamic = 0x200;
inline constexpr std::uint32_t AutoGenMipMap = 0x400;
} // namespace usage

/// Lock flags.
namespace lock
{
inline constexpr std::uint32_t ReadOnly = 0x10;
inline constexpr std::uint32_t NoSysLock = 0x800;
inline constexpr std::uint32_t NoOverwrite = 0x1000;
inline constexpr std::uint32_t Discard = 0x2000;
} // namespace lock

enum class ResourceType : std::uint32_t
{
    Surface = 1,
    Volume = 2,
    Texture = 3,
    VolumeTexture = 4,
    CubeTexture = 5,
};

/// The kind of file an image came from.
enum class ImageFileFormat : std::uint32_t
{
    Bmp = 0,
    Jpg = 1,
    Tga = 2,
    Png = 3,
    Dds = 4,
};

/// Filters of StretchRect.
enum class TextureFilterType : std::uint32_t
{
    None = 0,
    Point = 1,
    Linear = 2,
    Anisotropic = 3,
};

/// One level of a texture as the device made it.
struct SurfaceDesc
{
    os::gfx::Format Format = os::gfx::Format::Unknown;
    ResourceType Type = static_cast<ResourceType>(0);
    std::uint32_t Usage = 0;
    os::gfx::Pool Pool = os::gfx::Pool::Default;
    os::gfx::MultiSampleType MultiSampleType = os::gfx::MultiSampleType::None;
    std::uint32_t MultiSampleQuality = 0;
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
};

/// A locked level: rows top first, Pitch bytes apart (block rows for compressed formats).
struct LockedRect
{
    std::int32_t Pitch = 0;
    void* Bits = nullptr;
};

/// What an image file declares about itself.
struct ImageInfo
{
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint32_t Depth = 0;
    std::uint32_t MipLevels = 0;
    os::gfx::Format Format = os::gfx::Format::Unknown;
    os::gfx::ResourceType ResourceType = static_cast<os::gfx::ResourceType>(0);
    os::gfx::ImageFileFormat ImageFileFormat = os::gfx::ImageFileFormat::Bmp;
};

} // namespace os::gfx
