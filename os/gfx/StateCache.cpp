/** @file StateCache.cpp The device's render and sampler states, viewport and scissor, mirrored into GL. */
#include "os/gfx/StateCache.h"

#include <algorithm>

#include <epoxy/gl.h>

namespace os::gfx
{

void StateCache::Create(bool clipControl, bool anisotropy, float maxAnisotropy)
{
    clipControl_ = clipControl;
    anisotropy_ = anisotropy;
    maxAnisotropy_ = maxAnisotropy;
    mirrorClamp_ = epoxy_gl_version() >= 44;
    for (GLuint stage = 0; stage < samplers_.size(); ++stage) {
        samplers_[stage] = GlObject(GlKind::Sampler);
        glBindSampler(stage, samplers_[stage].Get());
    }
}

void StateCache::Reset(bool autoDepth, bool hasDepth, bool hasStencil, std::uint32_t width, std::uint32_t height)
{
    hasDepth_ = hasDepth;
    hasStencil_ = hasStencil;
    renderStates_ = tables::DefaultRenderStates(autoDepth);
    for (auto& stage : samplerStates_) {
        stage = tables::DefaultSamplerStates();
    }
    viewport_ = Viewport{0, 0, width, height, 0.0f, 1.0f};
    scissor_ = Rect{0, 0, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
    for (GLuint stage = 0; stage < samplers_.size(); ++stage) {
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_DITHER);
    glEnable(GL_CULL_FACE);
    ApplyBlend();
    ApplyDepth();
    ApplyStencil();
    ApplyCull();
    ApplyScissor();
    ApplyViewport();
    ApplyRenderState(RenderState::FillMode);
    ApplyRenderState(RenderState::ColorWriteEnable);
    ApplyRenderState(RenderState::MultiSampleAntialias);
    ApplyRenderState(RenderState::DepthBias);
    for (std::uint32_t stage = 0; stage < kSamplerStageCount; ++stage) {
        for (std::uint32_t type = 1; type < kSamplerStateCount; ++type) {
            ApplySamplerState(stage, static_cast<SamplerState>(type));
        }
    }
}

bool StateCache::SetRenderState(RenderState state, std::uint32_t value)
{
    const auto index = static_cast<std::uint32_t>(state);
    if (index >= kRenderStateCount) {
        return false;
    }
    renderStates_[index] = value;
    ApplyRenderState(state);
    return true;
}

bool StateCache::GetRenderState(RenderState state, std::uint32_t* value) const
{
    const auto index = static_cast<std::uint32_t>(state);
    if (index >= kRenderStateCount || value == nullptr) {
        return false;
    }
    *value = renderStates_[index];
    return true;
}

bool StateCache::SetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t value)
{
    const auto index = static_cast<std::uint32_t>(type);
    if (stage >= kSamplerStageCount || index == 0 || index >= kSamplerStateCount) {
        return false;
    }
    samplerStates_[stage][index] = value;
    ApplySamplerState(stage, type);
    return true;
}

bool StateCache::GetSamplerState(std::uint32_t stage, SamplerState type, std::uint32_t* value) const
{
    const auto index = static_cast<std::uint32_t>(type);
    if (stage >= kSamplerStageCount || index == 0 || index >= kSamplerStateCount || value == nullptr) {
        return false;
    }
    *value = samplerStates_[stage][index];
    return true;
}

void StateCache::SetViewport(const Viewport& viewport)
{
    viewport_ = viewport;
    ApplyViewport();
}

void StateCache::SetScissor(const Rect& rect)
{
    scissor_ = rect;
    ApplyScissor();
}

void StateCache::RestoreAfterClear()
{
    ApplyScissor();
    ApplyDepth();
    ApplyStencil();
    ApplyRenderState(RenderState::ColorWriteEnable);
}

void StateCache::RestoreAfterBlit()
{
    ApplyScissor();
    ApplyRenderState(RenderState::ColorWriteEnable);
}

void StateCache::ApplyRenderState(RenderState state)
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    switch (state) {
    case RenderState::ZEnable:
    case RenderState::ZWriteEnable:
    case RenderState::ZFunc:
        ApplyDepth();
        break;
    case RenderState::AlphaBlendEnable:
    case RenderState::SrcBlend:
    case RenderState::DestBlend:
    case RenderState::BlendOp:
    case RenderState::SeparateAlphaBlendEnable:
    case RenderState::SrcBlendAlpha:
    case RenderState::DestBlendAlpha:
    case RenderState::BlendOpAlpha:
    case RenderState::BlendFactor:
        ApplyBlend();
        break;
    case RenderState::CullMode:
        ApplyCull();
        break;
    case RenderState::StencilEnable:
    case RenderState::StencilFail:
    case RenderState::StencilZFail:
    case RenderState::StencilPass:
    case RenderState::StencilFunc:
    case RenderState::StencilRef:
    case RenderState::StencilMask:
    case RenderState::StencilWriteMask:
        ApplyStencil();
        break;
    case RenderState::ScissorTestEnable:
        ApplyScissor();
        break;
    case RenderState::FillMode: {
        glPolygonMode(GL_FRONT_AND_BACK, tables::PolygonMode(rs(RenderState::FillMode)));
        break;
    }
    case RenderState::ColorWriteEnable: {
        const std::uint32_t mask = rs(RenderState::ColorWriteEnable);
        glColorMask((mask & value::ColorWriteRed) != 0, (mask & value::ColorWriteGreen) != 0,
                    (mask & value::ColorWriteBlue) != 0, (mask & value::ColorWriteAlpha) != 0);
        break;
    }
    case RenderState::MultiSampleAntialias:
        if (rs(RenderState::MultiSampleAntialias) != 0) {
            glEnable(GL_MULTISAMPLE);
        } else {
            glDisable(GL_MULTISAMPLE);
        }
        break;
    case RenderState::DepthBias:
    case RenderState::SlopeScaleDepthBias: {
        const float bias = tables::BitsFloat(rs(RenderState::DepthBias));
        const float slope = tables::BitsFloat(rs(RenderState::SlopeScaleDepthBias));
        if (bias != 0.0f || slope != 0.0f) {
            glEnable(GL_POLYGON_OFFSET_FILL);
            // Direct3D's bias is in depth units; GL's in steps of a 24-bit buffer.
            glPolygonOffset(slope, bias * 16777215.0f);
        } else {
            glDisable(GL_POLYGON_OFFSET_FILL);
        }
        break;
    }
    default:
        // Fixed-function states (fog, lighting, alpha test ...) are kept for the shaders to read.
        break;
    }
}

void StateCache::ApplyDepth()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (hasDepth_ && rs(RenderState::ZEnable) != value::ZBufferFalse) {
        glEnable(GL_DEPTH_TEST);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthFunc(tables::CompareFunc(rs(RenderState::ZFunc)));
    glDepthMask(rs(RenderState::ZWriteEnable) != 0 ? GL_TRUE : GL_FALSE);
}

void StateCache::ApplyBlend()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (rs(RenderState::AlphaBlendEnable) != 0) {
        glEnable(GL_BLEND);
    } else {
        glDisable(GL_BLEND);
    }
    const tables::Blend blend = tables::BlendOf(renderStates_);
    glBlendFuncSeparate(blend.src, blend.dst, blend.srcAlpha, blend.dstAlpha);
    glBlendEquationSeparate(blend.equation, blend.equationAlpha);
    const auto factor = tables::ColorOf(rs(RenderState::BlendFactor));
    glBlendColor(factor[0], factor[1], factor[2], factor[3]);
}

void StateCache::ApplyStencil()
{
    const auto rs = [this](RenderState s) { return renderStates_[static_cast<std::uint32_t>(s)]; };
    if (hasStencil_ && rs(RenderState::StencilEnable) != 0) {
        glEnable(GL_STENCIL_TEST);
    } else {
        glDisable(GL_STENCIL_TEST);
    }
    glStencilFunc(tables::CompareFunc(rs(RenderState::StencilFunc)), static_cast<GLint>(rs(RenderState::StencilRef)),
                  rs(RenderState::StencilMask));
    glStencilOp(tables::StencilOp(rs(RenderState::StencilFail)), tables::StencilOp(rs(RenderState::StencilZFail)),
                tables::StencilOp(rs(RenderState::StencilPass)));
    glStencilMask(rs(RenderState::StencilWriteMask));
}

void StateCache::ApplyCull()
{
    // Direct3D's front faces are clockwise on screen. With clip control the picture keeps its
    // orientation in GL's terms; with the prelude's y flip it is mirrored.
    glFrontFace(clipControl_ ? GL_CW : GL_CCW);
    const std::uint32_t mode = renderStates_[static_cast<std::uint32_t>(RenderState::CullMode)];
    if (mode == value::CullCW) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    } else if (mode == value::CullCCW) {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    } else {
        glDisable(GL_CULL_FACE);
    }
}

void StateCache::ApplySamplerState(std::uint32_t stage, SamplerState type)
{
    const GLuint sampler = samplers_[stage].Get();
    const auto& s = samplerStates_[stage];
    const auto get = [&s](SamplerState t) { return s[static_cast<std::uint32_t>(t)]; };
    switch (type) {
    case SamplerState::AddressU:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S,
                            static_cast<GLint>(tables::AddressMode(get(type), mirrorClamp_)));
        break;
    case SamplerState::AddressV:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T,
                            static_cast<GLint>(tables::AddressMode(get(type), mirrorClamp_)));
        break;
    case SamplerState::AddressW:
        glSamplerParameteri(sampler, GL_TEXTURE_WRAP_R,
                            static_cast<GLint>(tables::AddressMode(get(type), mirrorClamp_)));
        break;
    case SamplerState::BorderColor: {
        const auto color = tables::ColorOf(get(type));
        glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, color.data());
        break;
    }
    case SamplerState::MagFilter:
        glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, get(type) == value::FilterPoint ? GL_NEAREST : GL_LINEAR);
        break;
    case SamplerState::MinFilter:
    case SamplerState::MipFilter:
    case SamplerState::MaxAnisotropy: {
        const GLenum filter = tables::MinFilter(get(SamplerState::MinFilter), get(SamplerState::MipFilter));
        glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(filter));
        if (anisotropy_) {
            float anisotropy = 1.0f;
            if (get(SamplerState::MinFilter) == value::FilterAnisotropic ||
                get(SamplerState::MagFilter) == value::FilterAnisotropic) {
                anisotropy = std::clamp(static_cast<float>(get(SamplerState::MaxAnisotropy)), 1.0f, maxAnisotropy_);
            }
            glSamplerParameterf(sampler, GL_TEXTURE_MAX_ANISOTROPY, anisotropy);
        }
        break;
    }
    case SamplerState::MipMapLodBias:
        glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, tables::BitsFloat(get(type)));
        break;
    case SamplerState::MaxMipLevel:
        glSamplerParameterf(sampler, GL_TEXTURE_MIN_LOD, static_cast<float>(get(type)));
        break;
    default:
        break;
    }
}

void StateCache::ApplyScissor()
{
    if (renderStates_[static_cast<std::uint32_t>(RenderState::ScissorTestEnable)] != 0) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(scissor_.left, scissor_.top, scissor_.right - scissor_.left, scissor_.bottom - scissor_.top);
    } else {
        glDisable(GL_SCISSOR_TEST);
    }
}

void StateCache::ApplyViewport()
{
    // Window row 0 of the back buffer is its top row, so Direct3D's Y goes in unchanged.
    glViewport(static_cast<GLint>(viewport_.X), static_cast<GLint>(viewport_.Y), static_cast<GLsizei>(viewport_.Width),
               static_cast<GLsizei>(viewport_.Height));
    glDepthRangef(viewport_.MinZ, viewport_.MaxZ);
}

} // namespace os::gfx
