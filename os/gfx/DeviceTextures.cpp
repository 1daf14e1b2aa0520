/** @file DeviceTextures.cpp The device's textures: creation, stages, deferred uploads, the render target and copies between surfaces. */
#include "os/gfx/Device.h"

#include <algorithm>

#include <SDL.h>
#include <epoxy/gl.h>

#include "os/gfx/ContextLink.h"
#include "os/gfx/DeviceGuard.h"
#include "os/gfx/DrawRecorder.h"
#include "os/gfx/HookState.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Surface.h"
#include "os/gfx/Texture.h"

namespace os::gfx
{

using detail::Hooks;

Result Device::CreateTexture(std::uint32_t width, std::uint32_t height, std::uint32_t levels, std::uint32_t usage,
                             Format format, Pool pool, std::shared_ptr<Texture>* texture)
{
    const Guard guard(*this, Guard::kLock);
    if (texture == nullptr) {
        return kErrInvalidCall;
    }
    texture->reset();
    const std::uint32_t most = FullChainLevels(width, height);
    const bool renderTarget = (usage & usage::RenderTarget) != 0;
    const bool dynamic = (usage & usage::Dynamic) != 0;
    if (width == 0 || height == 0 || width > 8192 || height > 8192 || levels > most || !IsTextureFormat(format) ||
        (usage & ~(usage::RenderTarget | usage::Dynamic | usage::AutoGenMipMap)) != 0 ||
        (pool != Pool::Default && pool != Pool::Managed && pool != Pool::SystemMem) ||
        (renderTarget && (pool != Pool::Default || IsCompressedFormat(format))) || (dynamic && pool == Pool::Managed) ||
        !link_) {
        return kErrInvalidCall;
    }
    texture->reset(new Texture(link_, width, height, levels == 0 ? most : levels, usage, format, pool));
    return kOk;
}

Result Device::SetTexture(std::uint32_t stage, std::shared_ptr<Texture> texture)
{
    const Guard guard(*this, Guard::kOwner);
    if (guard.Refused() || stage >= kSamplerStageCount || (texture && texture->GetPool() == Pool::SystemMem)) {
        return kErrInvalidCall;
    }
    link_->Drain();
    textures_[stage] = std::move(texture);
    const GLuint name = textures_[stage] ? textures_[stage]->Prepare() : 0;
    glActiveTexture(GL_TEXTURE0 + stage);
    glBindTexture(GL_TEXTURE_2D, name);
    glActiveTexture(GL_TEXTURE0);
    boundStages_ = name != 0 ? (boundStages_ | (1u << stage)) : (boundStages_ & ~(1u << stage));
    return kOk;
}

Result Device::RunDeferredWork()
{
    // No device lock: the queued work touches only its own textures and GL, which this thread
    // alone uses, so loader threads may go on creating textures meanwhile. The link and the
    // context change only on this thread.
    if (!IsOwnerThread() || !context_ || !link_) {
        return kErrInvalidCall;
    }
    link_->Drain();
    return kOk;
}

std::shared_ptr<Texture> Device::GetTexture(std::uint32_t stage) const
{
    const Guard guard(*this, Guard::kLock);
    return stage < kSamplerStageCount ? textures_[stage] : nullptr;
}

void Device::BindTextures()
{
    for (std::uint32_t stage = 0; stage < kSamplerStageCount; ++stage) {
        if (!textures_[stage] && (boundStages_ & (1u << stage)) == 0) {
            continue;
        }
        const GLuint name = textures_[stage] ? textures_[stage]->Prepare() : 0;
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, name);
        boundStages_ = name != 0 ? (boundStages_ | (1u << stage)) : (boundStages_ & ~(1u << stage));
    }
    glActiveTexture(GL_TEXTURE0);
}

Result Device::GetRenderTarget(std::uint32_t index, std::shared_ptr<Surface>* surface)
{
    const Guard guard(*this, Guard::kLock);
    if (surface == nullptr) {
        return kErrInvalidCall;
    }
    surface->reset();
    if (index != 0 || context_ == nullptr) {
        return kErrInvalidCall;
    }
    SurfaceDesc desc;
    desc.Format = parameters_.BackBufferFormat;
    desc.Type = ResourceType::Surface;
    desc.Usage = usage::RenderTarget;
    desc.Pool = Pool::Default;
    desc.MultiSampleType = parameters_.MultiSampleType;
    desc.MultiSampleQuality = parameters_.MultiSampleQuality;
    desc.Width = backBuffer_.GetWidth();
    desc.Height = backBuffer_.GetHeight();
    surface->reset(new Surface(this, desc));
    return kOk;
}

Result Device::StretchRect(const Surface* source, const Rect* sourceRect, const Surface* dest, const Rect* destRect,
                           TextureFilterType filter)
{
    const Guard guard(*this, Guard::kOwner | Guard::kLossNews);
    if (guard.Refused() || source == nullptr || dest == nullptr || context_ == nullptr) {
        return kErrInvalidCall;
    }
    // Sources are render targets of this device; destinations render-target texture levels.
    const bool sourceIsBackBuffer = source->IsBackBufferOf(this);
    const auto isTarget = [](const Surface* s) {
        return s->GetTexture() && (s->GetTexture()->GetUsage() & usage::RenderTarget) != 0;
    };
    if ((!sourceIsBackBuffer && !isTarget(source)) || !isTarget(dest) || (source->GetTexture() && source == dest)) {
        return kErrInvalidCall;
    }
    SurfaceDesc from;
    SurfaceDesc to;
    source->GetDesc(&from);
    dest->GetDesc(&to);
    const auto whole = [](const SurfaceDesc& d) {
        return Rect{0, 0, static_cast<std::int32_t>(d.Width), static_cast<std::int32_t>(d.Height)};
    };
    const Rect s = sourceRect != nullptr ? *sourceRect : whole(from);
    const Rect d = destRect != nullptr ? *destRect : whole(to);
    const auto inside = [](const Rect& r, const SurfaceDesc& desc) {
        return r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top &&
               static_cast<std::uint32_t>(r.right) <= desc.Width && static_cast<std::uint32_t>(r.bottom) <= desc.Height;
    };
    if (!inside(s, from) || !inside(d, to)) {
        return kErrInvalidCall;
    }
    if (loss_ != LossState::Operational) {
        return kOk;
    }
    link_->Drain();
    const GLuint read = sourceIsBackBuffer ? backBuffer_.GetResolvedFramebuffer()
                                           : source->GetTexture()->GetFramebuffer(source->GetLevel());
    const GLuint draw = dest->GetTexture()->GetFramebuffer(dest->GetLevel());
    if (read == 0 || draw == 0) {
        backBuffer_.Bind();
        return kErrInvalidCall;
    }
    // Every render target keeps its top row first, so the rows copy straight across.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, read);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, draw);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glBlitFramebuffer(s.left, s.top, s.right, s.bottom, d.left, d.top, d.right, d.bottom, GL_COLOR_BUFFER_BIT,
                      filter == TextureFilterType::Linear ? GL_LINEAR : GL_NEAREST);
    backBuffer_.Bind();
    states_.RestoreAfterBlit();
    return kOk;
}

// --- Read-back -----------------------------------------------------------------------------------

Result Device::ReadBackBuffer(std::vector<std::uint32_t>* pixels, std::uint32_t* width, std::uint32_t* height)
{
    const Guard guard(*this, Guard::kOwner);
    if (pixels == nullptr || guard.Refused() || context_ == nullptr) {
        return kErrInvalidCall;
    }
    backBuffer_.Read(pixels);
    if (width != nullptr) {
        *width = backBuffer_.GetWidth();
    }
    if (height != nullptr) {
        *height = backBuffer_.GetHeight();
    }
    return kOk;
}

std::uint32_t Device::GetBackBufferFramebuffer()
{
    const Guard guard(*this, Guard::kLock);
    return backBuffer_.GetResolvedFramebuffer();
}

void Device::RestoreFramebufferBinding()
{
    const Guard guard(*this, Guard::kLock);
    backBuffer_.Bind();
}

} // namespace os::gfx
