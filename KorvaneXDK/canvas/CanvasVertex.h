/** @file CanvasVertex.h The 28-byte vertex every canvas draw submits. */
#pragma once

#include <cstdint>

namespace korvane::canvas
{

/// POSITION float3 at 0, COLOR0 (0xAARRGGBB) at 12, COLOR1 at 16 (always 0), TEXCOORD0
/// float2 at 20: the shader environment's two-colour declaration.
struct CanvasVertex
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    std::uint32_t color0 = 0;
    std::uint32_t color1 = 0;
    float u = 0.0f;
    float v = 0.0f;
};

static_assert(sizeof(CanvasVertex) == 28, "the canvas declaration expects 28-byte vertices");

} // namespace korvane::canvas
