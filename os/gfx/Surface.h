/** @file Surface.h One picture a copy can read or write: a texture level or a device's back buffer. */
#pragma once

#include <cstdint>
#include <memory>

#include "os/gfx/TextureTypes.h"

namespace os::gfx
{

class Device;
class Texture;

/// Handed out by Texture::GetSurfaceLevel and Device::GetRenderTarget. It keeps its texture
/// alive; a back-buffer surface only names its device and is harmless to keep after it.
class Surface
{
public:
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    Result GetDesc(SurfaceDesc* desc) const;
    /// The texture of a texture level, null for a back buffer.
    const std::shared_ptr<Texture>& GetTexture() const { return texture_; }
    std::uint32_t GetLevel() const { return level_; }
    bool IsBackBufferOf(const Device* device) const { return device_ != nullptr && device_ == device; }

private:
    friend class Device;
    friend class Texture;
    Surface(std::shared_ptr<Texture> texture, std::uint32_t level, const SurfaceDesc& desc)
        : texture_(std::move(texture)), level_(level), desc_(desc)
    {}
    Surface(const Device* device, const SurfaceDesc& desc) : device_(device), desc_(desc) {}

    std::shared_ptr<Texture> texture_;
    std::uint32_t level_ = 0;
    /// Identity only, never followed: the device may be gone.
    const Device* device_ = nullptr;
    SurfaceDesc desc_;
};

} // namespace os::gfx
