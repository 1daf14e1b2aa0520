/** @file StateCache.h The device's render and sampler states, viewport and scissor, mirrored into GL. */
#pragma once

#include <array>
#include <cstdint>

#include "os/gfx/GlObject.h"
#include "os/gfx/StateTables.h"
#include "os/gfx/Types.h"

namespace os::gfx
{

/// Holds every state value as Direct3D reports it back and sets the GL state each one
/// stands for. Fixed-function states (fog, lighting, alpha test ...) are only kept, for the
/// shaders to read. Every call that touches GL needs the device's context current.
class StateCache
{
public:
    /// Makes the sampler objects (one per stage, bound to its unit).
    void Create(bool clipControl, bool anisotropy, float maxAnisotropy);

    /// Direct3D's defaults for a back buffer of this size, applied to GL.
    void Reset(bool autoDepth, bool hasDepth, bool hasStencil, std::uint32_t width, std::uint32_t height);

    /// False for a state outside the table.
    bool SetRenderState(RenderState state, std::uint32_t value);
    bool GetRenderState(RenderState state, std::uint32_t* value) const;
    std::uint32_t RenderStateValue(RenderState state) const { return renderStates_[static_cast<std::uint32_t>(state)]; }
    /// False for a stage or state outside the tables.
    bool SetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t value);
    bool GetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t* value) const;

    const Viewport& GetViewport() const { return viewport_; }
    void SetViewport(const Viewport& viewport);
    const Rect& GetScissor() const { return scissor_; }
    void SetScissor(const Rect& rect);

    /// Sets again the GL state that a clear or a blit to the window overrode.
    void RestoreAfterClear();
    void RestoreAfterBlit();

private:
    void ApplyRenderState(RenderState state);
    void ApplyBlend();
    void ApplyDepth();
    void ApplyStencil();
    void ApplyCull();
    void ApplyScissor();
    void ApplyViewport();
    void ApplySamplerState(std::uint32_t stage, SamplerState type);

    bool clipControl_ = false;
    bool anisotropy_ = false;
    bool mirrorClamp_ = false;
    float maxAnisotropy_ = 1.0f;
    bool hasDepth_ = false;
    bool hasStencil_ = false;
    Viewport viewport_;
    Rect scissor_;
    tables::RenderStates renderStates_{};
    std::array<tables::SamplerStates, kSamplerStageCount> samplerStates_{};
    std::array<GlObject, kSamplerStageCount> samplers_;
};

} // namespace os::gfx
