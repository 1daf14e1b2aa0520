/** @file Texture.cpp Loading, creating, filling and copying textures through the graphics layer. */
#include "KorvaneXDK/platform/graphics/Texture.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Surface.h"
#include "os/gfx/Texture.h"
#include "os/gfx/TextureRoutines.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "Texture";

CDXGraphics* Graphics()
{
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    return driver != nullptr ? driver->GetGraphics() : nullptr;
}

os::gfx::Device* Device()
{
    CDXGraphics* graphics = Graphics();
    return graphics != nullptr ? graphics->GetDevice() : nullptr;
}

/// The graphics object's legacy flag doubles as the pool: managed on a plain device, default on an extended one.
os::gfx::Pool ResourcePool()
{
    CDXGraphics* graphics = Graphics();
    return graphics != nullptr ? static_cast<os::gfx::Pool>(graphics->IsLegacyDevice()) : os::gfx::Pool::Default;
}

struct FillColour
{
    float red, green, blue, alpha;
};

void FillWithColour(os::gfx::TexelColor* out, const os::gfx::TexelCoord*, const os::gfx::TexelCoord*, void* data)
{
    const auto* colour = static_cast<const FillColour*>(data);
    *out = os::gfx::TexelColor{colour->red, colour->green, colour->blue, colour->alpha};
}

} // namespace

CTexture::CTexture() = default;

CTexture::~CTexture() = default;

void CTexture::Load(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format)
{
    LoadInto(stream, mipmaps, format, ResourcePool());
}

void CTexture::LoadToSystemMemory(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format)
{
    LoadInto(stream, mipmaps, format, os::gfx::Pool::SystemMem);
}

void CTexture::LoadInto(IKorvaneStream& stream, bool mipmaps, os::gfx::Format format, os::gfx::Pool pool)
{
    Release();
    // Decoded from a memory copy, so any stream (archive entry, file) serves.
    CMemoryStream memory;
    memory.CopyFrom(stream, 0);
    memory.Seek(0);
    const os::gfx::Result result = os::gfx::CreateTextureFromFileInMemoryEx(
        Device(), memory.GetBuffer(), static_cast<std::size_t>(memory.GetSize()), os::gfx::kDefault, os::gfx::kDefault,
        mipmaps ? os::gfx::kDefault : 1, 0, format, pool, os::gfx::filter::None, os::gfx::kDefault, 0, &info_,
        &texture_);
    if (os::gfx::Failed(result)) {
        Release();
        ReportDirectXError(result, kSourceFile, __LINE__);
        throw EFileOpenError(this, "Failed to load texture.");
    }
    texture_->GetLevelDesc(0, &desc_);
    width_ = desc_.Width;
    height_ = desc_.Height;
}

void CTexture::Create(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                      os::gfx::Format format, os::gfx::Pool pool)
{
    Release();
    width_ = width;
    height_ = height;
    info_.Width = width;
    info_.Height = height;
    info_.MipLevels = levels;
    info_.Format = os::gfx::Format::Unknown;
    info_.ImageFileFormat = static_cast<os::gfx::ImageFileFormat>(0);
    info_.ResourceType = os::gfx::ResourceType::Texture;
    const os::gfx::Result result =
        os::gfx::CreateTexture(Device(), width, height, levels, usage, format, pool, &texture_);
    if (os::gfx::Failed(result)) {
        texture_.reset();
        ReportDirectXError(result, kSourceFile, __LINE__);
        throw EIOError(this, "Failed to create texture.");
    }
}

void CTexture::Fill(std::uint32_t width, std::uint32_t height, float red, float green, float blue, float alpha,
                    bool mipmaps, os::gfx::Format format)
{
    Create(width, height, mipmaps ? os::gfx::kDefault : 1, 0, format, ResourcePool());
    FillColour colour{red, green, blue, alpha};
    const os::gfx::Result result = os::gfx::FillTexture(texture_.get(), FillWithColour, &colour);
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
        throw EIOError(this, "Failed to fill texture.");
    }
}

void CTexture::CopyFromRenderTarget(std::uint32_t renderTargetIndex, const os::gfx::Rect* sourceRect,
                                    const os::gfx::Rect* destRect)
{
    if (!texture_) {
        throw EInvalidOperation(this, "CopyFromRenderTarget(); not initialized.");
    }
    os::gfx::Device* device = Device();
    // Both surfaces are owned here and released on every path, the failing ones included.
    std::shared_ptr<os::gfx::Surface> renderTarget;
    if (device != nullptr) {
        device->GetRenderTarget(renderTargetIndex, &renderTarget);
    }
    std::shared_ptr<os::gfx::Surface> surface;
    os::gfx::Result result = texture_->GetSurfaceLevel(0, &surface);
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
        throw EIOError(this, "CopyFromRenderTarget(); failed to GetSurfaceLevel()");
    }
    result = device != nullptr ? device->StretchRect(renderTarget.get(), sourceRect, surface.get(), destRect,
                                                     os::gfx::TextureFilterType::None)
                               : os::gfx::kErrInvalidCall;
    if (os::gfx::Failed(result)) {
        ReportDirectXError(result, kSourceFile, __LINE__);
        throw EIOError(this, "CopyFromRenderTarget(); failed to StretchRect()");
    }
}

void CTexture::Release()
{
    texture_.reset();
    info_ = os::gfx::ImageInfo();
    desc_ = os::gfx::SurfaceDesc();
    width_ = 0;
    height_ = 0;
}

void CTexture::Bind()
{
    if (os::gfx::Device* device = Device()) {
        device->SetTexture(0, texture_);
    }
}

void CTexture::Unbind()
{
    if (os::gfx::Device* device = Device()) {
        device->SetTexture(0, nullptr);
    }
}

os::gfx::Texture* CTexture::GetD3DTexture()
{
    return texture_.get();
}

std::uint32_t CTexture::GetWidth()
{
    return width_;
}

std::uint32_t CTexture::GetHeight()
{
    return height_;
}

std::uint32_t CTexture::GetImageWidth()
{
    return info_.Width;
}

std::uint32_t CTexture::GetImageHeight()
{
    return info_.Height;
}

void CTexture::SetImageSize(std::uint32_t width, std::uint32_t height)
{
    info_.Width = width;
    info_.Height = height;
}

} // namespace korvane
