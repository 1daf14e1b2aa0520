/** @file StateTables.h Direct3D's state values in OpenGL's terms, and Direct3D's defaults. */
#pragma once

#include <array>
#include <cstdint>

#include "os/gfx/Types.h"

/// Pure functions: they need no context, so they are tested without one. GL enumerants are
/// returned as plain 32-bit words to keep GL's headers out of the layer's own headers.
namespace os::gfx::tables
{

using RenderStates = std::array<std::uint32_t, kRenderStateCount>;
using SamplerStates = std::array<std::uint32_t, kSamplerStateCount>;

std::uint32_t FloatBits(float value);
float BitsFloat(std::uint32_t bits);
/// 0xAARRGGBB as (r, g, b, a) in 0..1.
std::array<float, 4> ColorOf(std::uint32_t argb);

/// Direct3D 9's render-state defaults (depth test comes from the present parameters).
RenderStates DefaultRenderStates(bool autoDepth);
SamplerStates DefaultSamplerStates();

/// A blend factor; the colour factors become their alpha counterparts in the alpha equation.
std::uint32_t BlendFactor(std::uint32_t value, bool forAlpha);
std::uint32_t BlendEquation(std::uint32_t value);

/// The whole blend set-up the render states ask for.
struct Blend
{
    std::uint32_t src;
    std::uint32_t dst;
    std::uint32_t srcAlpha;
    std::uint32_t dstAlpha;
    std::uint32_t equation;
    std::uint32_t equationAlpha;
};
Blend BlendOf(const RenderStates& states);

std::uint32_t CompareFunc(std::uint32_t value);
std::uint32_t StencilOp(std::uint32_t value);
/// `mirrorClamp`: whether the context has mirror-once addressing (GL 4.4); clamping stands in otherwise.
std::uint32_t AddressMode(std::uint32_t value, bool mirrorClamp);
/// The minifying filter for a min filter and a mip filter.
std::uint32_t MinFilter(std::uint32_t minFilter, std::uint32_t mipFilter);
std::uint32_t PolygonMode(std::uint32_t fillMode);

std::uint32_t PrimitiveMode(PrimitiveType type);
/// Vertices (or indices) a draw of `count` primitives reads; 0 for an unknown type.
std::uint64_t VertexCountFor(PrimitiveType type, std::uint32_t count);

/// A vertex element's attribute format.
struct AttributeFormat
{
    std::int32_t size;
    std::uint32_t type;
    bool normalized;
    std::uint32_t bytes;
};
AttributeFormat FormatOf(DeclType type);

/// The depth buffer format of a depth-stencil format; false when it is none.
bool DepthFormatOf(Format format, std::uint32_t* internalFormat, bool* stencil);
/// Whether a back buffer can have this colour format.
bool IsBackBufferFormat(Format format);

} // namespace os::gfx::tables
