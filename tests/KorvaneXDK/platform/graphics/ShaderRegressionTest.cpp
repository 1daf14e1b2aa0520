/** @file ShaderRegressionTest.cpp Faults found in shaders after they were written, kept from coming back. */
#include <cstdint>
#include <limits>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "ShaderTestSupport.h"

namespace shadertest
{
namespace
{

class ShaderRegressionTest : public ShaderTest
{};

// A shader reads its whole entry, from the first byte, wherever the stream was left.
TEST_F(ShaderRegressionTest, AShaderLoadsItsWholeEntryWhereverTheStreamStands)
{
    const std::string source = ReadProjectData("shader/canvas.vs");
    korvane::CMemoryStream stream;
    stream.Write(source.data(), static_cast<std::int32_t>(source.size()));
    ASSERT_EQ(static_cast<std::int32_t>(source.size()), stream.GetPosition());

    korvane::CVertexShader shader;
    shader.SetName("shader\\canvas.vs");
    ASSERT_NO_THROW(shader.Load(&stream));
    ASSERT_NE(nullptr, shader.GetConstantTable());
    EXPECT_NE(nullptr, shader.GetConstantTable()->GetConstantByName(nullptr, "World"));
}

// The depth-band level is the integer part of max(5.5 - spread, 1) for every spread the camera
// holds, those whose level lies beyond the 32-bit range and a NaN included.
TEST_F(ShaderRegressionTest, TheDepthBandLevelStaysInItsRangeForAnySpread)
{
    const struct
    {
        float spread;
        std::int32_t level;
    } cases[] = {
        {4.0f, 1},
        {0.5f, 5},
        {-100.0f, 105},
        {-1.0e10f, std::numeric_limits<std::int32_t>::max()},
        {std::numeric_limits<float>::quiet_NaN(), 1},
        {std::numeric_limits<float>::infinity(), 1},
    };
    korvane::CCamera camera;
    camera.SetTarget(0.0f, 0.0f, 1.0f);
    for (const auto& c : cases) {
        camera.SetDepthBandSpread(c.spread);
        camera.Apply();
        EXPECT_EQ(c.level, environment->GetDepthBandLevel()) << "spread " << c.spread;
    }
}

} // namespace
} // namespace shadertest
