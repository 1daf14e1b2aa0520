/** @file StateTables.cpp Direct3D's state values in OpenGL's terms, and Direct3D's defaults. */
#include "os/gfx/StateTables.h"

#include <cstring>

#include <epoxy/gl.h>

namespace os::gfx::tables
{

std::uint32_t FloatBits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float BitsFloat(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// Direct3D 9's render-state defaults (depth test comes from the present parameters).
RenderStates DefaultRenderStates(bool autoDepth)
{
    RenderStates s{};
    auto set = [&s](RenderState state, std::uint32_t value) { s[static_cast<std::uint32_t>(state)] = value; };
    set(RenderState::ZEnable, autoDepth ? value::ZBufferTrue : value::ZBufferFalse);
    set(RenderState::FillMode, value::FillSolid);
    set(RenderState::ShadeMode, value::ShadeGouraud);
    set(RenderState::ZWriteEnable, value::True);
    set(RenderState::AlphaTestEnable, value::False);
    set(RenderState::LastPixel, value::True);
    set(RenderState::SrcBlend, value::BlendOne);
    set(RenderState::DestBlend, value::BlendZero);
    set(RenderState::CullMode, value::CullCCW);
    set(RenderState::ZFunc, value::CmpLessEqual);
    set(RenderState::AlphaRef, 0);
    set(RenderState::AlphaFunc, value::CmpAlways);
    set(RenderState::FogStart, FloatBits(0.0f));
    set(RenderState::FogEnd, FloatBits(1.0f));
    set(RenderState::FogDensity, FloatBits(1.0f));
    set(RenderState::StencilFail, value::StencilOpKeep);
    set(RenderState::StencilZFail, value::StencilOpKeep);
    set(RenderState::StencilPass, value::StencilOpKeep);
    set(RenderState::StencilFunc, value::CmpAlways);
    set(RenderState::StencilMask, 0xFFFFFFFFu);
    set(RenderState::StencilWriteMask, 0xFFFFFFFFu);
    set(RenderState::TextureFactor, 0xFFFFFFFFu);
    set(RenderState::Clipping, value::True);
    set(RenderState::Lighting, value::True);
    set(RenderState::ColorVertex, value::True);
    set(RenderState::LocalViewer, value::True);
    set(RenderState::DiffuseMaterialSource, value::MaterialSourceColor1);
    set(RenderState::SpecularMaterialSource, value::MaterialSourceColor2);
    set(RenderState::PointSize, FloatBits(1.0f));
    set(RenderState::PointSizeMin, FloatBits(1.0f));
    set(RenderState::PointScaleA, FloatBits(1.0f));
    set(RenderState::MultiSampleAntialias, value::True);
    set(RenderState::MultiSampleMask, 0xFFFFFFFFu);
    set(RenderState::PointSizeMax, FloatBits(64.0f));
    set(RenderState::ColorWriteEnable, 0x0F);
    set(RenderState::BlendOp, value::BlendOpAdd);
    set(RenderState::PositionDegree, 3);
    set(RenderState::NormalDegree, 1);
    set(RenderState::MinTessellationLevel, FloatBits(1.0f));
    set(RenderState::MaxTessellationLevel, FloatBits(1.0f));
    set(RenderState::AdaptiveTessZ, FloatBits(1.0f));
    set(RenderState::CcwStencilFail, value::StencilOpKeep);
    set(RenderState::CcwStencilZFail, value::StencilOpKeep);
    set(RenderState::CcwStencilPass, value::StencilOpKeep);
    set(RenderState::CcwStencilFunc, value::CmpAlways);
    set(RenderState::ColorWriteEnable1, 0x0F);
    set(RenderState::ColorWriteEnable2, 0x0F);
    set(RenderState::ColorWriteEnable3, 0x0F);
    set(RenderState::BlendFactor, 0xFFFFFFFFu);
    set(RenderState::SrcBlendAlpha, value::BlendOne);
    set(RenderState::DestBlendAlpha, value::BlendZero);
    set(RenderState::BlendOpAlpha, value::BlendOpAdd);
    return s;
}

SamplerStates DefaultSamplerStates()
{
    SamplerStates s{};
    s[static_cast<std::uint32_t>(SamplerState::AddressU)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::AddressV)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::AddressW)] = value::AddressWrap;
    s[static_cast<std::uint32_t>(SamplerState::MagFilter)] = value::FilterPoint;
    s[static_cast<std::uint32_t>(SamplerState::MinFilter)] = value::FilterPoint;
    s[static_cast<std::uint32_t>(SamplerState::MipFilter)] = value::FilterNone;
    s[static_cast<std::uint32_t>(SamplerState::MaxAnisotropy)] = 1;
    return s;
}

std::uint32_t BlendFactor(std::uint32_t value, bool forAlpha)
{
    switch (value) {
    case value::BlendZero:
        return GL_ZERO;
    case value::BlendOne:
        return GL_ONE;
    case value::BlendSrcColor:
        return forAlpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    case value::BlendInvSrcColor:
        return forAlpha ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE_MINUS_SRC_COLOR;
    case value::BlendSrcAlpha:
        return GL_SRC_ALPHA;
    case value::BlendInvSrcAlpha:
        return GL_ONE_MINUS_SRC_ALPHA;
    case value::BlendDestAlpha:
        return GL_DST_ALPHA;
    case value::BlendInvDestAlpha:
        return GL_ONE_MINUS_DST_ALPHA;
    case value::BlendDestColor:
        return forAlpha ? GL_DST_ALPHA : GL_DST_COLOR;
    case value::BlendInvDestColor:
        return forAlpha ? GL_ONE_MINUS_DST_ALPHA : GL_ONE_MINUS_DST_COLOR;
    case value::BlendSrcAlphaSat:
        return GL_SRC_ALPHA_SATURATE;
    case value::BlendBlendFactor:
        return forAlpha ? GL_CONSTANT_ALPHA : GL_CONSTANT_COLOR;
    case value::BlendInvBlendFactor:
        return forAlpha ? GL_ONE_MINUS_CONSTANT_ALPHA : GL_ONE_MINUS_CONSTANT_COLOR;
    default:
        return GL_ONE;
    }
}

std::uint32_t BlendEquation(std::uint32_t value)
{
    switch (value) {
    case value::BlendOpSubtract:
        return GL_FUNC_SUBTRACT;
    case value::BlendOpRevSubtract:
        return GL_FUNC_REVERSE_SUBTRACT;
    case value::BlendOpMin:
        return GL_MIN;
    case value::BlendOpMax:
        return GL_MAX;
    default:
        return GL_FUNC_ADD;
    }
}

std::uint32_t CompareFunc(std::uint32_t value)
{
    switch (value) {
    case value::CmpNever:
        return GL_NEVER;
    case value::CmpLess:
        return GL_LESS;
    case value::CmpEqual:
        return GL_EQUAL;
    case value::CmpLessEqual:
        return GL_LEQUAL;
    case value::CmpGreater:
        return GL_GREATER;
    case value::CmpNotEqual:
        return GL_NOTEQUAL;
    case value::CmpGreaterEqual:
        return GL_GEQUAL;
    default:
        return GL_ALWAYS;
    }
}

std::uint32_t StencilOp(std::uint32_t value)
{
    switch (value) {
    case value::StencilOpZero:
        return GL_ZERO;
    case value::StencilOpReplace:
        return GL_REPLACE;
    case value::StencilOpIncrSat:
        return GL_INCR;
    case value::StencilOpDecrSat:
        return GL_DECR;
    case value::StencilOpInvert:
        return GL_INVERT;
    case value::StencilOpIncr:
        return GL_INCR_WRAP;
    case value::StencilOpDecr:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

std::uint32_t AddressMode(std::uint32_t value, bool mirrorClamp)
{
    switch (value) {
    case value::AddressMirror:
        return GL_MIRRORED_REPEAT;
    case value::AddressClamp:
        return GL_CLAMP_TO_EDGE;
    case value::AddressBorder:
        return GL_CLAMP_TO_BORDER;
    case value::AddressMirrorOnce:
        return mirrorClamp ? GL_MIRROR_CLAMP_TO_EDGE : GL_CLAMP_TO_EDGE;
    default:
        return GL_REPEAT;
    }
}

std::uint32_t PrimitiveMode(PrimitiveType type)
{
    switch (type) {
    case PrimitiveType::PointList:
        return GL_POINTS;
    case PrimitiveType::LineList:
        return GL_LINES;
    case PrimitiveType::LineStrip:
        return GL_LINE_STRIP;
    case PrimitiveType::TriangleList:
        return GL_TRIANGLES;
    case PrimitiveType::TriangleStrip:
        return GL_TRIANGLE_STRIP;
    case PrimitiveType::TriangleFan:
        return GL_TRIANGLE_FAN;
    }
    return GL_TRIANGLES;
}

/// Vertices (or indices) a draw of `count` primitives reads; 0 for an unknown type.
std::uint64_t VertexCountFor(PrimitiveType type, std::uint32_t count)
{
    const std::uint64_t n = count;
    switch (type) {
    case PrimitiveType::PointList:
        return n;
    case PrimitiveType::LineList:
        return 2 * n;
    case PrimitiveType::LineStrip:
        return n + 1;
    case PrimitiveType::TriangleList:
        return 3 * n;
    case PrimitiveType::TriangleStrip:
    case PrimitiveType::TriangleFan:
        return n + 2;
    }
    return 0;
}

AttributeFormat FormatOf(DeclType type)
{
    switch (type) {
    case DeclType::Float1:
        return {1, GL_FLOAT, false, 4};
    case DeclType::Float2:
        return {2, GL_FLOAT, false, 8};
    case DeclType::Float3:
        return {3, GL_FLOAT, false, 12};
    case DeclType::Float4:
        return {4, GL_FLOAT, false, 16};
    case DeclType::Color:
        return {GL_BGRA, GL_UNSIGNED_BYTE, true, 4};
    case DeclType::UByte4:
        return {4, GL_UNSIGNED_BYTE, false, 4};
    case DeclType::Short2:
        return {2, GL_SHORT, false, 4};
    case DeclType::Short4:
        return {4, GL_SHORT, false, 8};
    case DeclType::UByte4N:
        return {4, GL_UNSIGNED_BYTE, true, 4};
    case DeclType::Short2N:
        return {2, GL_SHORT, true, 4};
    case DeclType::Short4N:
        return {4, GL_SHORT, true, 8};
    case DeclType::UShort2N:
        return {2, GL_UNSIGNED_SHORT, true, 4};
    case DeclType::UShort4N:
        return {4, GL_UNSIGNED_SHORT, true, 8};
    default:
        return {4, GL_FLOAT, false, 16};
    }
}

Blend BlendOf(const RenderStates& states)
{
    const auto rs = [&states](RenderState s) { return states[static_cast<std::uint32_t>(s)]; };
    std::uint32_t src = rs(RenderState::SrcBlend);
    std::uint32_t dst = rs(RenderState::DestBlend);
    // The "both" factors set the destination factor as well.
    if (src == value::BlendBothSrcAlpha) {
        src = value::BlendSrcAlpha;
        dst = value::BlendInvSrcAlpha;
    } else if (src == value::BlendBothInvSrcAlpha) {
        src = value::BlendInvSrcAlpha;
        dst = value::BlendSrcAlpha;
    }
    const bool separate = rs(RenderState::SeparateAlphaBlendEnable) != 0;
    const std::uint32_t srcAlpha = separate ? rs(RenderState::SrcBlendAlpha) : src;
    const std::uint32_t dstAlpha = separate ? rs(RenderState::DestBlendAlpha) : dst;
    return Blend{BlendFactor(src, false),
                 BlendFactor(dst, false),
                 BlendFactor(srcAlpha, true),
                 BlendFactor(dstAlpha, true),
                 BlendEquation(rs(RenderState::BlendOp)),
                 BlendEquation(separate ? rs(RenderState::BlendOpAlpha) : rs(RenderState::BlendOp))};
}

std::uint32_t MinFilter(std::uint32_t minFilter, std::uint32_t mipFilter)
{
    const bool linear = minFilter != value::FilterPoint;
    if (mipFilter == value::FilterNone) {
        return linear ? GL_LINEAR : GL_NEAREST;
    }
    if (mipFilter == value::FilterPoint) {
        return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    }
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

std::uint32_t PolygonMode(std::uint32_t fillMode)
{
    return fillMode == value::FillPoint ? GL_POINT : fillMode == value::FillWireframe ? GL_LINE : GL_FILL;
}

bool DepthFormatOf(Format format, std::uint32_t* internalFormat, bool* stencil)
{
    *stencil = false;
    switch (format) {
    case Format::D16:
    case Format::D16Lockable:
        *internalFormat = GL_DEPTH_COMPONENT16;
        return true;
    case Format::D24X8:
        *internalFormat = GL_DEPTH_COMPONENT24;
        return true;
    case Format::D24S8:
    case Format::D24X4S4:
    case Format::D15S1:
        *internalFormat = GL_DEPTH24_STENCIL8;
        *stencil = true;
        return true;
    case Format::D32:
    case Format::D32FLockable:
        *internalFormat = GL_DEPTH_COMPONENT32F;
        return true;
    default:
        return false;
    }
}

bool IsBackBufferFormat(Format format)
{
    switch (format) {
    case Format::X8R8G8B8:
    case Format::A8R8G8B8:
    case Format::R5G6B5:
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
        return true;
    default:
        return false;
    }
}

std::array<float, 4> ColorOf(std::uint32_t argb)
{
    return {static_cast<float>((argb >> 16) & 0xFF) / 255.0f, static_cast<float>((argb >> 8) & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>((argb >> 24) & 0xFF) / 255.0f};
}

} // namespace os::gfx::tables
