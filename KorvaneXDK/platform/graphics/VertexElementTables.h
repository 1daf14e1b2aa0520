/** @file VertexElementTables.h The six vertex layouts the shader environment offers. */
#pragma once

#include "os/gfx/Types.h"

namespace korvane::vertex_elements
{

/// Position, normal, texture coordinate (32 bytes).
extern const os::gfx::VertexElement kPositionNormalTex[];
/// Position, two ARGB colours, texture coordinate (28 bytes): the canvas and the fonts.
extern const os::gfx::VertexElement kPositionColor2Tex[];
/// Position, ARGB colour, texture coordinate (24 bytes).
extern const os::gfx::VertexElement kPositionColorTex[];
/// Position, blend weights, blend indices, normal, texture coordinate (48 bytes).
extern const os::gfx::VertexElement kSkinnedPositionNormalTex[];
/// Position, normal, four-float tangent, two texture coordinates (56 bytes).
extern const os::gfx::VertexElement kPositionNormalTangentTex2[];
/// Position, normal, three-float tangent (bytes 36 to 39 unread), two texture coordinates,
/// blend weights, blend indices (72 bytes).
extern const os::gfx::VertexElement kSkinnedPositionNormalTangentTex2[];

} // namespace korvane::vertex_elements
