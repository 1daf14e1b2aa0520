/** @file VertexElementTables.cpp The six vertex layouts the shader environment offers. */
#include "KorvaneXDK/platform/graphics/VertexElementTables.h"

namespace korvane::vertex_elements
{

namespace
{

using os::gfx::DeclMethod;
using os::gfx::DeclType;
using os::gfx::DeclUsage;
using os::gfx::VertexElement;

constexpr VertexElement E(std::uint16_t offset, DeclType type, DeclUsage usage, std::uint8_t index = 0)
{
    return VertexElement{0, offset, type, DeclMethod::Default, usage, index};
}

} // namespace

const VertexElement kPositionNormalTex[] = {
    E(0, DeclType::Float3, DeclUsage::Position),
    E(12, DeclType::Float3, DeclUsage::Normal),
    E(24, DeclType::Float2, DeclUsage::TexCoord),
    os::gfx::DeclEnd(),
};

const VertexElement kPositionColor2Tex[] = {
    E(0, DeclType::Float3, DeclUsage::Position),
    E(12, DeclType::Color, DeclUsage::Color, 0),
    E(16, DeclType::Color, DeclUsage::Color, 1),
    E(20, DeclType::Float2, DeclUsage::TexCoord),
    os::gfx::DeclEnd(),
};

const VertexElement kPositionColorTex[] = {
    E(0, DeclType::Float3, DeclUsage::Position),
    E(12, DeclType::Color, DeclUsage::Color),
    E(16, DeclType::Float2, DeclUsage::TexCoord),
    os::gfx::DeclEnd(),
};

const VertexElement kSkinnedPositionNormalTex[] = {
    E(0, DeclType::Float3, DeclUsage::Position),      E(12, DeclType::Float3, DeclUsage::BlendWeight),
    E(24, DeclType::UByte4, DeclUsage::BlendIndices), E(28, DeclType::Float3, DeclUsage::Normal),
    E(40, DeclType::Float2, DeclUsage::TexCoord),     os::gfx::DeclEnd(),
};

const VertexElement kPositionNormalTangentTex2[] = {
    E(0, DeclType::Float3, DeclUsage::Position),     E(12, DeclType::Float3, DeclUsage::Normal),
    E(24, DeclType::Float4, DeclUsage::Tangent),     E(40, DeclType::Float2, DeclUsage::TexCoord, 0),
    E(48, DeclType::Float2, DeclUsage::TexCoord, 1), os::gfx::DeclEnd(),
};

const VertexElement kSkinnedPositionNormalTangentTex2[] = {
    E(0, DeclType::Float3, DeclUsage::Position),      E(12, DeclType::Float3, DeclUsage::Normal),
    E(24, DeclType::Float3, DeclUsage::Tangent),      E(40, DeclType::Float2, DeclUsage::TexCoord, 0),
    E(48, DeclType::Float2, DeclUsage::TexCoord, 1),  E(56, DeclType::Float3, DeclUsage::BlendWeight),
    E(68, DeclType::UByte4, DeclUsage::BlendIndices), os::gfx::DeclEnd(),
};

} // namespace korvane::vertex_elements
