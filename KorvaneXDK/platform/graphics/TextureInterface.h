/** @file TextureInterface.h The engine's handle on one texture of the graphics device. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Object.h"
#include "os/gfx/TextureTypes.h"

namespace os::gfx
{
class Texture;
}

namespace korvane
{

class IKorvaneStream;

/// Made empty, then filled by decoding an image, by creating a blank texture, by filling one with a
/// colour or by copying a render target. Sizes: GetWidth/GetHeight are the surface the device
/// made (an image's size rounded up to powers of two), GetImageWidth/GetImageHeight the image's own.
class ITexture : public IInterface
{
public:
    /// Decodes the stream's image into the graphics object's resource pool; a full mip chain
    /// with `mipmaps`, else one level. Format Unknown keeps the file's. Throws EFileOpenError
    /// "Failed to load texture." (after the DirectX error line) and leaves the texture empty.
    virtual void Load(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format) = 0;
    /// The same into system memory.
    virtual void LoadToSystemMemory(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format) = 0;
    /// A blank texture; throws EIOError "Failed to create texture.".
    virtual void Create(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                        os::gfx::Format format, os::gfx::Pool pool) = 0;
    /// A texture of one colour (0..1 each) in the resource pool; throws EIOError "Failed to fill texture.".
    virtual void Fill(std::uint32_t width, std::uint32_t height, float red, float green, float blue, float alpha,
                      bool mipmaps, os::gfx::Format format) = 0;
    /// Copies (part of) a render target of the device into level 0 of this render-target texture;
    /// null rectangles mean the whole surface.
    virtual void CopyFromRenderTarget(std::uint32_t renderTargetIndex, const os::gfx::Rect* sourceRect,
                                      const os::gfx::Rect* destRect) = 0;
    virtual void Release() = 0;
    /// Sets this texture on stage 0 (none while empty).
    virtual void Bind() = 0;
    virtual void Unbind() = 0;
    /// The device's texture (no reference taken), or null.
    virtual os::gfx::Texture* GetD3DTexture() = 0;
    virtual std::uint32_t GetWidth() = 0;
    virtual std::uint32_t GetHeight() = 0;
    virtual std::uint32_t GetImageWidth() = 0;
    virtual std::uint32_t GetImageHeight() = 0;
    /// Overwrites the image size only.
    virtual void SetImageSize(std::uint32_t width, std::uint32_t height) = 0;

    // Names other callers use for the surface size.
    std::uint32_t GetSurfaceWidth() { return GetWidth(); }
    std::uint32_t GetSurfaceHeight() { return GetHeight(); }
};

} // namespace korvane
