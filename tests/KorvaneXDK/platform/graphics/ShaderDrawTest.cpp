/** @file ShaderDrawTest.cpp The program's canvas pair draws a textured quad through the two-colour declaration. */
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "ShaderTestSupport.h"
#include "os/gfx/Texture.h"

namespace shadertest
{
namespace
{

using korvane::Matrix4;

/// The layout of the canvas and the fonts (28 bytes).
struct CanvasVertex
{
    float x, y, z;
    std::uint32_t color0, color1;
    float u, v;
};

constexpr std::uint32_t kGrey = 0xFF202020u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

TEST_F(ShaderTest, TheCanvasPairDrawsATexturedQuadWithItsVertexColour)
{
    // A white texture: the pixel is the vertex colour.
    korvane::CTexture white;
    white.Fill(2, 2, 1, 1, 1, 1, false, os::gfx::Format::Unknown);

    // Screen pixels as the canvas projects them: (0, 0) top-left.
    Matrix4 projection;
    os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
    environment->SetProjectionMatrix(projection);
    boost::shared_ptr<korvane::CShaderPair> pair = environment->GetShaderPair("shader\\canvas");
    environment->GetDeclPositionColor2Tex()->Apply();
    pair->Begin();
    ASSERT_EQ(0u, pair->GetSamplerIndex("BaseTexture"));
    pair->SetTexture("Nothing", &white); // no such sampler: nothing is bound
    EXPECT_EQ(nullptr, device->GetTexture(0));
    pair->SetTexture("BaseTexture", &white);
    EXPECT_EQ(white.GetD3DTexture(), device->GetTexture(0).get());
    device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone);
    ASSERT_EQ(os::gfx::kOk, device->Clear(0, nullptr, os::gfx::clear::Target, kGrey, 1.0f, 0));

    // Pixels 8..23 x 4..19, edges shifted by -0.5 as the canvas does.
    const CanvasVertex quad[4] = {
        {7.5f, 3.5f, 0, kBlue, 0, 0, 0},
        {23.5f, 3.5f, 0, kBlue, 0, 1, 0},
        {7.5f, 19.5f, 0, kBlue, 0, 0, 1},
        {23.5f, 19.5f, 0, kBlue, 0, 1, 1},
    };
    os::testing::ClearRecordedDraws();
    os::testing::SetDrawRecording(true);
    ASSERT_EQ(os::gfx::kOk,
              device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, sizeof(CanvasVertex)));
    // The world matrix moves the next copy 32 pixels right.
    Matrix4 world;
    os::gfx::MatrixTranslation(&world, 32, 0, 0);
    pair->GetUniform("World")->SetMatrix(&world);
    ASSERT_EQ(os::gfx::kOk,
              device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, sizeof(CanvasVertex)));
    os::testing::SetDrawRecording(false);

    const std::vector<std::uint32_t> pixels = ReadPixels();
    struct Check
    {
        std::uint32_t x, y, color;
    };
    const Check checks[] = {
        {8, 4, kBlue},  {23, 19, kBlue}, {7, 4, kGrey},   {24, 4, kGrey},  {8, 3, kGrey},
        {8, 20, kGrey}, {40, 4, kBlue},  {55, 19, kBlue}, {39, 10, kGrey}, {56, 10, kGrey},
    };
    for (const Check& c : checks) {
        EXPECT_EQ(c.color, pixels.at(c.y * kWidth + c.x)) << "at " << c.x << ", " << c.y;
    }

    const std::vector<os::testing::DrawRecord> draws = os::testing::GetRecordedDraws();
    ASSERT_EQ(2u, draws.size());
    EXPECT_EQ(os::gfx::PrimitiveType::TriangleStrip, draws[0].type);
    EXPECT_EQ(4u, draws[0].vertexCount);
    EXPECT_EQ(28u, draws[0].stride);
    EXPECT_NE(0u, draws[0].textures[0]);
    EXPECT_EQ(0u, draws[0].textures[1]);
    EXPECT_EQ(pair->GetVertexShader()->GetConstantTable()->GetProgram(), draws[1].vertexProgram);

    // Null unbinds; an unknown stage index does nothing.
    pair->SetTextureAt(0xFFFFFFFFu, nullptr);
    EXPECT_NE(nullptr, device->GetTexture(0));
    pair->SetTextureAt(0, nullptr);
    EXPECT_EQ(nullptr, device->GetTexture(0));
}

} // namespace
} // namespace shadertest
