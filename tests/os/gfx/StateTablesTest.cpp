/** @file StateTablesTest.cpp Direct3D's state values in GL's terms and Direct3D's defaults, without a context. */
#include <gtest/gtest.h>

#include "os/gfx/Shader.h"
#include "os/gfx/StateTables.h"

namespace gfxtest
{
namespace
{

namespace tables = os::gfx::tables;
namespace value = os::gfx::value;
using os::gfx::Format;
using os::gfx::PrimitiveType;
using os::gfx::RenderState;
using os::gfx::SamplerState;

std::uint32_t At(const tables::RenderStates& states, RenderState state)
{
    return states[static_cast<std::uint32_t>(state)];
}

TEST(StateTablesTest, DefaultsAreDirect3DsAndDepthFollowsThePresentParameters)
{
    struct Case
    {
        RenderState state;
        std::uint32_t expected;
    };
    const tables::RenderStates states = tables::DefaultRenderStates(true);
    for (const Case& c : {Case{RenderState::ZEnable, value::ZBufferTrue}, Case{RenderState::CullMode, value::CullCCW},
                          Case{RenderState::ZFunc, value::CmpLessEqual}, Case{RenderState::SrcBlend, value::BlendOne},
                          Case{RenderState::DestBlend, value::BlendZero}, Case{RenderState::AlphaBlendEnable, 0},
                          Case{RenderState::ColorWriteEnable, 0x0F}, Case{RenderState::StencilMask, 0xFFFFFFFFu},
                          Case{RenderState::PointSizeMax, tables::FloatBits(64.0f)}}) {
        EXPECT_EQ(c.expected, At(states, c.state)) << static_cast<std::uint32_t>(c.state);
    }
    EXPECT_EQ(value::ZBufferFalse, At(tables::DefaultRenderStates(false), RenderState::ZEnable));
    const tables::SamplerStates sampler = tables::DefaultSamplerStates();
    EXPECT_EQ(value::AddressWrap, sampler[static_cast<std::uint32_t>(SamplerState::AddressU)]);
    EXPECT_EQ(value::FilterPoint, sampler[static_cast<std::uint32_t>(SamplerState::MinFilter)]);
    EXPECT_EQ(value::FilterNone, sampler[static_cast<std::uint32_t>(SamplerState::MipFilter)]);
    EXPECT_EQ(1u, sampler[static_cast<std::uint32_t>(SamplerState::MaxAnisotropy)]);
}

TEST(StateTablesTest, BlendBothFactorsAndTheAlphaEquation)
{
    tables::RenderStates states = tables::DefaultRenderStates(false);
    auto set = [&states](RenderState state, std::uint32_t v) { states[static_cast<std::uint32_t>(state)] = v; };
    set(RenderState::SrcBlend, value::BlendSrcAlpha);
    set(RenderState::DestBlend, value::BlendInvSrcAlpha);
    const tables::Blend explicitPair = tables::BlendOf(states);
    // The "both" factor also sets the destination, whatever it was.
    set(RenderState::SrcBlend, value::BlendBothSrcAlpha);
    set(RenderState::DestBlend, value::BlendZero);
    const tables::Blend both = tables::BlendOf(states);
    EXPECT_EQ(explicitPair.src, both.src);
    EXPECT_EQ(explicitPair.dst, both.dst);
    set(RenderState::SrcBlend, value::BlendBothInvSrcAlpha);
    const tables::Blend inverse = tables::BlendOf(states);
    EXPECT_EQ(both.src, inverse.dst);
    EXPECT_EQ(both.dst, inverse.src);
    // Without separate alpha the alpha equation follows the colour one; with it, its own states.
    EXPECT_EQ(both.srcAlpha, both.src);
    EXPECT_EQ(both.equationAlpha, both.equation);
    set(RenderState::SeparateAlphaBlendEnable, 1);
    set(RenderState::SrcBlendAlpha, value::BlendOne);
    set(RenderState::BlendOpAlpha, value::BlendOpMax);
    const tables::Blend separate = tables::BlendOf(states);
    EXPECT_EQ(tables::BlendFactor(value::BlendOne, true), separate.srcAlpha);
    EXPECT_EQ(tables::BlendEquation(value::BlendOpMax), separate.equationAlpha);
    EXPECT_NE(separate.equation, separate.equationAlpha);
    // Colour factors read alpha in the alpha equation.
    EXPECT_EQ(tables::BlendFactor(value::BlendSrcAlpha, true), tables::BlendFactor(value::BlendSrcColor, true));
    EXPECT_EQ(tables::BlendFactor(value::BlendInvDestAlpha, true), tables::BlendFactor(value::BlendInvDestColor, true));
    EXPECT_NE(tables::BlendFactor(value::BlendSrcAlpha, false), tables::BlendFactor(value::BlendSrcColor, false));
}

TEST(StateTablesTest, EachDirect3DValueHasItsOwnGLValue)
{
    // A value mapped to its neighbour's GL value would pass every draw test that does not use it.
    const auto distinct = [](auto map, std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t a = first; a <= last; ++a) {
            for (std::uint32_t b = a + 1; b <= last; ++b) {
                EXPECT_NE(map(a), map(b)) << a << " and " << b;
            }
        }
    };
    distinct([](std::uint32_t v) { return tables::CompareFunc(v); }, value::CmpNever, value::CmpAlways);
    distinct([](std::uint32_t v) { return tables::StencilOp(v); }, value::StencilOpKeep, value::StencilOpDecr);
    distinct([](std::uint32_t v) { return tables::BlendEquation(v); }, value::BlendOpAdd, value::BlendOpMax);
    distinct([](std::uint32_t v) { return tables::AddressMode(v, true); }, value::AddressWrap,
             value::AddressMirrorOnce);
    distinct([](std::uint32_t v) { return tables::PolygonMode(v); }, value::FillPoint, value::FillSolid);
    distinct(
        [](std::uint32_t v) { return tables::MinFilter(v / 3 == 0 ? value::FilterPoint : value::FilterLinear, v % 3); },
        0, 5);
    // Without mirror-once the context clamps instead.
    EXPECT_EQ(tables::AddressMode(value::AddressClamp, false), tables::AddressMode(value::AddressMirrorOnce, false));
}

TEST(StateTablesTest, PrimitiveCountsDepthFormatsAndColours)
{
    struct Case
    {
        PrimitiveType type;
        std::uint64_t vertices;
    };
    for (const Case& c : {Case{PrimitiveType::PointList, 5}, Case{PrimitiveType::LineList, 10},
                          Case{PrimitiveType::LineStrip, 6}, Case{PrimitiveType::TriangleList, 15},
                          Case{PrimitiveType::TriangleStrip, 7}, Case{PrimitiveType::TriangleFan, 7}}) {
        EXPECT_EQ(c.vertices, tables::VertexCountFor(c.type, 5)) << static_cast<int>(c.type);
    }
    EXPECT_EQ(0xFFFFFFFFull * 3, tables::VertexCountFor(PrimitiveType::TriangleList, 0xFFFFFFFFu));
    EXPECT_EQ(0u, tables::VertexCountFor(static_cast<PrimitiveType>(99), 1));

    std::uint32_t depth = 0;
    bool stencil = true;
    EXPECT_TRUE(tables::DepthFormatOf(Format::D16, &depth, &stencil));
    EXPECT_FALSE(stencil);
    EXPECT_TRUE(tables::DepthFormatOf(Format::D24S8, &depth, &stencil));
    EXPECT_TRUE(stencil);
    EXPECT_FALSE(tables::DepthFormatOf(Format::A8R8G8B8, &depth, &stencil));

    const auto color = tables::ColorOf(0x80FF0033u);
    EXPECT_FLOAT_EQ(1.0f, color[0]);
    EXPECT_FLOAT_EQ(0.0f, color[1]);
    EXPECT_FLOAT_EQ(0.2f, color[2]);
    EXPECT_FLOAT_EQ(128.0f / 255.0f, color[3]);
}

} // namespace
} // namespace gfxtest
