/** @file FakeTexture.h A texture of chosen image and surface sizes with no device behind it, for headless canvas tests. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::test
{

/// Image size (GetImageWidth/Height) and surface size (GetWidth/Height) as given; Bind counts.
/// Everything else that would need a device does nothing.
class FakeTexture : public ITexture
{
public:
    FakeTexture(std::uint32_t imageWidth, std::uint32_t imageHeight, std::uint32_t surfaceWidth,
                std::uint32_t surfaceHeight)
        : imageWidth_(imageWidth), imageHeight_(imageHeight), surfaceWidth_(surfaceWidth), surfaceHeight_(surfaceHeight)
    {}
    /// Image and surface of one size.
    FakeTexture(std::uint32_t width, std::uint32_t height) : FakeTexture(width, height, width, height) {}

    void Load(IKorvaneStream&, bool, os::gfx::Format) override {}
    void LoadToSystemMemory(IKorvaneStream&, bool, os::gfx::Format) override {}
    void Create(std::uint32_t width, std::uint32_t height, std::uint32_t, std::uint32_t, os::gfx::Format,
                os::gfx::Pool) override
    {
        imageWidth_ = surfaceWidth_ = width;
        imageHeight_ = surfaceHeight_ = height;
    }
    void Fill(std::uint32_t width, std::uint32_t height, float, float, float, float, bool, os::gfx::Format) override
    {
        Create(width, height, 1, 0, os::gfx::Format::Unknown, os::gfx::Pool::Default);
    }
    void CopyFromRenderTarget(std::uint32_t, const os::gfx::Rect*, const os::gfx::Rect*) override {}
    void Release() override { imageWidth_ = imageHeight_ = surfaceWidth_ = surfaceHeight_ = 0; }
    void Bind() override { ++binds; }
    void Unbind() override {}
    os::gfx::Texture* GetD3DTexture() override { return nullptr; }
    std::uint32_t GetWidth() override { return surfaceWidth_; }
    std::uint32_t GetHeight() override { return surfaceHeight_; }
    std::uint32_t GetImageWidth() override { return imageWidth_; }
    std::uint32_t GetImageHeight() override { return imageHeight_; }
    void SetImageSize(std::uint32_t width, std::uint32_t height) override
    {
        imageWidth_ = width;
        imageHeight_ = height;
    }

    int binds = 0;

private:
    std::uint32_t imageWidth_;
    std::uint32_t imageHeight_;
    std::uint32_t surfaceWidth_;
    std::uint32_t surfaceHeight_;
};

} // namespace korvane::test
