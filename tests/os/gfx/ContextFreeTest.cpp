/** @file ContextFreeTest.cpp What the graphics layer computes without a context: Direct3D's state values in GL's
 * terms and Direct3D's defaults, and the extension library's matrix, vector and plane routines against
 * hand-computed values. */
#include <algorithm>
#include <cmath>

#include <gmock/gmock.h>

#include "os/Values.h"
#include "os/gfx/Math.h"
#include "os/gfx/StateTables.h"

namespace gfxtest
{
namespace
{

namespace tables = os::gfx::tables;
namespace value = os::gfx::value;
using os::gfx::Format;
using os::gfx::Matrix;
using os::gfx::PrimitiveType;
using os::gfx::RenderState;
using os::gfx::SamplerState;
using os::gfx::Vector3;
using ostest::V;

constexpr float kPi = 3.14159265358979f;

void ExpectMatrix(const Matrix& m, std::initializer_list<float> rows)
{
    EXPECT_THAT(m.m, ::testing::Pointwise(::testing::FloatNear(1e-5f), std::vector<float>(rows)));
}

/// Sets one render state in a table.
void Set(tables::RenderStates& states, RenderState state, std::uint32_t v)
{
    states[static_cast<std::uint32_t>(state)] = v;
}

/// Default states with a "both" source factor (inverted) over a zero destination.
tables::RenderStates BothInvSrcAlphaStates()
{
    tables::RenderStates states = tables::DefaultRenderStates(false);
    Set(states, RenderState::SrcBlend, value::BlendBothInvSrcAlpha);
    Set(states, RenderState::DestBlend, value::BlendZero);
    return states;
}

// The engine sets most states itself, so a wrong default would show only where it does not.
TEST(ContextFreeTest, RenderAndSamplerStatesStartAtDirect3DsDefaults)
{
    tables::RenderStates states = tables::DefaultRenderStates(true);
    // Depth on with LESSEQUAL, counter-clockwise culling and colour writes show in every draw test, depth off
    // without a depth buffer in the device's creation scenario.
    const auto rs = [&states](RenderState state) { return states[static_cast<std::uint32_t>(state)]; };
    EXPECT_EQ(V(rs(RenderState::SrcBlend), rs(RenderState::DestBlend), rs(RenderState::AlphaBlendEnable),
                rs(RenderState::StencilMask), rs(RenderState::PointSizeMax)),
              V(value::BlendOne, value::BlendZero, 0u, 0xFFFFFFFFu, tables::FloatBits(64.0f)));
    const tables::SamplerStates sampler = tables::DefaultSamplerStates();
    const auto at = [&sampler](SamplerState state) { return sampler[static_cast<std::uint32_t>(state)]; };
    EXPECT_EQ(V(at(SamplerState::AddressU), at(SamplerState::MinFilter), at(SamplerState::MipFilter),
                at(SamplerState::MaxAnisotropy)),
              V(value::AddressWrap, value::FilterPoint, value::FilterNone, 1u));
}

TEST(ContextFreeTest, PrimitiveCountsGiveVertexCountsUpToTheLargestAndNoneForAnUnknownType)
{
    const std::pair<PrimitiveType, std::uint64_t> counts[] = {
        {PrimitiveType::PointList, 5},     {PrimitiveType::LineList, 10},     {PrimitiveType::LineStrip, 6},
        {PrimitiveType::TriangleList, 15}, {PrimitiveType::TriangleStrip, 7}, {PrimitiveType::TriangleFan, 7}};
    for (const auto& [type, vertices] : counts)
        EXPECT_EQ(vertices, tables::VertexCountFor(type, 5)) << static_cast<int>(type);
    EXPECT_EQ(0xFFFFFFFFull * 3, tables::VertexCountFor(PrimitiveType::TriangleList, 0xFFFFFFFFu));
    EXPECT_EQ(0u, tables::VertexCountFor(static_cast<PrimitiveType>(99), 1));
}

TEST(ContextFreeTest, DepthFormatsTellWhetherTheyHoldStencilAndOthersAreNoDepthFormat)
{
    std::uint32_t depth = 0;
    bool stencil[3] = {true, false, false};
    const bool known[] = {tables::DepthFormatOf(Format::D16, &depth, &stencil[0]),
                          tables::DepthFormatOf(Format::D24S8, &depth, &stencil[1]),
                          tables::DepthFormatOf(Format::A8R8G8B8, &depth, &stencil[2])};
    EXPECT_EQ(V(known[0], stencil[0], known[1], stencil[1], known[2]), V(true, false, true, true, false));
}

TEST(ContextFreeTest, APackedColourUnpacksToRedGreenBlueAlpha)
{
    EXPECT_THAT(tables::ColorOf(0x80FF0033u),
                ::testing::Pointwise(::testing::FloatEq(), {1.0f, 0.0f, 0.2f, 128.0f / 255.0f}));
}

TEST(ContextFreeTest, BothFactorsSetTheDestinationAndWithoutSeparateAlphaTheAlphaEquationFollowsTheColourOne)
{
    tables::RenderStates states = tables::DefaultRenderStates(false);
    Set(states, RenderState::SrcBlend, value::BlendSrcAlpha);
    Set(states, RenderState::DestBlend, value::BlendInvSrcAlpha);
    const tables::Blend explicitPair = tables::BlendOf(states);
    // The "both" factor also sets the destination, whatever it was.
    Set(states, RenderState::SrcBlend, value::BlendBothSrcAlpha);
    Set(states, RenderState::DestBlend, value::BlendZero);
    const tables::Blend both = tables::BlendOf(states);
    Set(states, RenderState::SrcBlend, value::BlendBothInvSrcAlpha);
    const tables::Blend inverted = tables::BlendOf(states);
    // Without separate alpha the alpha equation follows the colour one; with it, its own states.
    EXPECT_EQ(V(both.src, both.dst, inverted.dst, inverted.src, both.srcAlpha, both.equationAlpha),
              V(explicitPair.src, explicitPair.dst, both.src, both.dst, both.src, both.equation));
}

TEST(ContextFreeTest, SeparateAlphaBlendingTakesItsOwnFactorAndEquation)
{
    tables::RenderStates states = BothInvSrcAlphaStates();
    Set(states, RenderState::SeparateAlphaBlendEnable, 1);
    Set(states, RenderState::SrcBlendAlpha, value::BlendOne);
    Set(states, RenderState::BlendOpAlpha, value::BlendOpMax);
    const tables::Blend separate = tables::BlendOf(states);
    EXPECT_EQ(V(separate.srcAlpha, separate.equationAlpha),
              V(tables::BlendFactor(value::BlendOne, true), tables::BlendEquation(value::BlendOpMax)));
    EXPECT_NE(separate.equation, separate.equationAlpha);
}

TEST(ContextFreeTest, ColourFactorsReadAlphaInTheAlphaEquation)
{
    EXPECT_EQ(V(tables::BlendFactor(value::BlendSrcAlpha, true), tables::BlendFactor(value::BlendInvDestAlpha, true)),
              V(tables::BlendFactor(value::BlendSrcColor, true), tables::BlendFactor(value::BlendInvDestColor, true)));
    EXPECT_NE(tables::BlendFactor(value::BlendSrcAlpha, false), tables::BlendFactor(value::BlendSrcColor, false));
}

// A value mapped to its neighbour's GL value would pass every draw test that does not use it.
TEST(ContextFreeTest, EachDirect3DValueHasItsOwnGLValue)
{
    const auto distinct = [](auto map, std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t a = first; a <= last; ++a) {
            for (std::uint32_t b = a + 1; b <= last; ++b)
                EXPECT_NE(map(a), map(b)) << a << " and " << b;
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
}

TEST(ContextFreeTest, WithoutMirrorOnceTheContextClampsInstead)
{
    EXPECT_EQ(tables::AddressMode(value::AddressClamp, false), tables::AddressMode(value::AddressMirrorOnce, false));
}

// The extension library's projections, inverse, rotations and planes against hand-computed values; the look-at's axes
// and the yaw are the camera tests'.
TEST(ContextFreeTest, ADegenerateLookAtGivesZeroAxesNeverNaN)
{
    // Degenerate input: eye on the target, up along the view.
    const Vector3 same{1, 1, 1}, up{0, 1, 0}, above{1, 5, 1};
    for (const Vector3* at : {&same, &above}) {
        Matrix view;
        os::gfx::MatrixLookAtLH(&view, &same, at, &up);
        EXPECT_TRUE(std::none_of(std::begin(view.m), std::end(view.m), [](float v) { return std::isnan(v); }));
    }
}

TEST(ContextFreeTest, ProjectionsMatchTheirFormulas)
{
    Matrix m;
    os::gfx::MatrixPerspectiveFovLH(&m, kPi / 2, 2.0f, 1.0f, 101.0f);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0});
    os::gfx::MatrixOrthoLH(&m, 448, 288, 0, 1);
    ExpectMatrix(m, {2.0f / 448, 0, 0, 0, 0, 2.0f / 288, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    os::gfx::MatrixPerspectiveOffCenterLH(&m, -1, 3, -2, 2, 1, 11);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, -0.5f, 0, 1.1f, 1, 0, 0, -1.1f, 0});
}

TEST(ContextFreeTest, ATranslationInvertsWithDeterminantOne)
{
    Matrix translation, inverse;
    os::gfx::MatrixTranslation(&translation, 1, 2, 3);
    float determinant = 0;
    ASSERT_NE(nullptr, os::gfx::MatrixInverse(&inverse, &determinant, &translation));
    EXPECT_FLOAT_EQ(1.0f, determinant);
    ExpectMatrix(inverse, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1});
}

TEST(ContextFreeTest, ASingularMatrixFailsAndLeavesTheOutputAsItWas)
{
    Matrix translation, inverse, singular;
    os::gfx::MatrixTranslation(&translation, 1, 2, 3);
    ASSERT_NE(nullptr, os::gfx::MatrixInverse(&inverse, nullptr, &translation));
    os::gfx::MatrixScaling(&singular, 0, 1, 1);
    EXPECT_EQ(nullptr, os::gfx::MatrixInverse(&inverse, nullptr, &singular));
    EXPECT_FLOAT_EQ(-1.0f, inverse.m[12]);
}

TEST(ContextFreeTest, TheZRotationPutsSinInElementZeroOne)
{
    Matrix rotation;
    os::gfx::MatrixRotationZ(&rotation, kPi / 2);
    EXPECT_NEAR(1.0f, rotation(0, 1), 1e-6f);
}

TEST(ContextFreeTest, NormalisingTheZeroVectorGivesZero)
{
    Vector3 zero;
    os::gfx::Vec3Normalize(&zero, &zero);
    EXPECT_EQ(0.0f, zero.x + zero.y + zero.z);
}

TEST(ContextFreeTest, APlaneFromAPointAndNormalGivesTheDistanceAlongTheNormal)
{
    os::gfx::Plane plane;
    const Vector3 point{0, 0, 2}, probe{5, 5, 3}, forward{0, 0, 1};
    os::gfx::PlaneFromPointNormal(&plane, &point, &forward);
    EXPECT_FLOAT_EQ(1.0f, os::gfx::PlaneDotCoord(&plane, &probe));
}

} // namespace
} // namespace gfxtest
