/** @file Texture.h The engine's one texture implementation over the graphics layer. */
#pragma once

#include <memory>

#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane
{

/// Holds one device texture, the image information of its last decoded image, the level-0
/// description and the surface size. Not locked: a texture is used by one thread at a time
/// (the cache's loader threads load textures nobody else sees yet).
class CTexture : public ITexture, public virtual CNonCopyable
{
public:
    CTexture();
    ~CTexture() override;

    void Load(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format) override;
    void LoadToSystemMemory(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format) override;
    void Create(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                os::gfx::Format format, os::gfx::Pool pool) override;
    void Fill(std::uint32_t width, std::uint32_t height, float red, float green, float blue, float alpha, bool mipmaps,
              os::gfx::Format format) override;
    void CopyFromRenderTarget(std::uint32_t renderTargetIndex, const os::gfx::Rect* sourceRect,
                              const os::gfx::Rect* destRect) override;
    void Release() override;
    void Bind() override;
    void Unbind() override;
    os::gfx::Texture* GetD3DTexture() override;
    std::uint32_t GetWidth() override;
    std::uint32_t GetHeight() override;
    std::uint32_t GetImageWidth() override;
    std::uint32_t GetImageHeight() override;
    void SetImageSize(std::uint32_t width, std::uint32_t height) override;

    const os::gfx::ImageInfo& GetImageInfo() const { return info_; }
    const os::gfx::SurfaceDesc& GetSurfaceDesc() const { return desc_; }

private:
    void LoadInto(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format, os::gfx::Pool pool);

    std::shared_ptr<os::gfx::Texture> texture_;
    os::gfx::ImageInfo info_;
    os::gfx::SurfaceDesc desc_;
    std::uint32_t width_ = 0;
    std::uint32_t height_ = 0;
};

} // namespace korvane
