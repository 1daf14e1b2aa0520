/** @file ShaderTestSupport.h The driver with an archive of shader pairs packed by the project's tool, and read-back helpers. */
#pragma once

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DriverFixture.h"
#include "KorvaneXDK/platform/graphics/PixelShader.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/VertexShader.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/VertexDeclaration.h"

namespace shadertest
{

using graphicstest::CountingLoader;
using graphicstest::ReadProjectData;

/// Declares every environment name in the vertex stage (each one used, so each is active),
/// "World" in both stages, "Tint" only in the pixel stage and "Mixed" as a sampler in the
/// vertex stage but a float in the pixel stage.
inline const char* AllNamesVertexSource()
{
    return R"(#version 410 core
uniform mat4 World, View, Projection, InverseWorld, InverseView, LightView, LightProjection;
uniform vec4 MaterialAmbient, MaterialDiffuse, MaterialEmissive, MaterialSpecular;
uniform float MaterialPower;
uniform vec4 LightDirection, LightAmbient, LightDiffuse, LightSpecular, FogRange, FogColor, SpecialColor;
uniform float SceneTime;
uniform vec4 ShadowTextureSize;
uniform sampler2D Mixed;
layout(location = 0) in vec3 inPosition;
layout(location = 4) in vec4 inColor;
layout(location = 8) in vec2 inTexCoord;
layout(location = 0) out vec4 vColor;
layout(location = 1) out vec2 vTexCoord;
out gl_PerVertex { vec4 gl_Position; };
void main()
{
    vec4 p = LightProjection * LightView * InverseView * InverseWorld * Projection * View * World * vec4(inPosition, 1.0);
    vec4 s = MaterialAmbient + MaterialDiffuse + MaterialEmissive + MaterialSpecular + vec4(MaterialPower);
    s += LightDirection + LightAmbient + LightDiffuse + LightSpecular + FogRange + FogColor + SpecialColor;
    s += vec4(SceneTime) + ShadowTextureSize + textureLod(Mixed, inTexCoord, 0.0);
    gl_Position = p + s * 1e-30;
    vColor = inColor;
    vTexCoord = inTexCoord;
}
)";
}

inline const char* AllNamesPixelSource()
{
    return R"(#version 410 core
uniform mat4 World;
uniform vec4 Tint = vec4(1.0);
uniform float Mixed = 0.5;
uniform sampler2D BaseTexture;
layout(location = 0) in vec4 vColor;
layout(location = 1) in vec2 vTexCoord;
layout(location = 0) out vec4 outColor;
void main()
{
    outColor = texture(BaseTexture, vTexCoord) * vColor * Tint + (World[3] + vec4(Mixed)) * 1e-20;
}
)";
}

/// The driver with a 64 x 48 device, a data loader over an archive packed from `Files()` and the
/// shader environment.
class ShaderTest : public graphicstest::DriverTest<64, 48>
{
protected:
    /// Archive name -> contents.
    std::map<std::string, std::string> Files()
    {
        return {
            {"shader\\canvas.vs", ReadProjectData("shader/canvas.vs")},
            {"shader\\canvas.ps", ReadProjectData("shader/canvas.ps")},
            {"test\\all.vs", AllNamesVertexSource()},
            {"test\\all.ps", AllNamesPixelSource()},
            {"test\\broken.vs", "#version 410 core\nvoid main() { this is not GLSL }\n"},
            {"test\\broken.ps", AllNamesPixelSource()},
            {"test\\empty.vs", ""},
            {"test\\empty.ps", AllNamesPixelSource()},
            {"test\\novs.ps", AllNamesPixelSource()},
            // For the folder precache: pairs by their pixel shader or ".xpu" entry, never by ".vs".
            {"fx\\a.vs", AllNamesVertexSource()},
            {"fx\\a.ps", AllNamesPixelSource()},
            {"fx\\b.vs", AllNamesVertexSource()},
            {"fx\\b.ps", AllNamesPixelSource()},
            {"fx\\b.xpu", "unused"},
            {"fx\\c.txt", "text"},
        };
    }

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(DriverTest::SetUp());
        for (const auto& [name, bytes] : Files()) {
            AddFile(name, bytes);
        }
        loader.reset(new CountingLoader(PackArchive()));
        driver->SetDataLoader(loader);
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        ASSERT_NE(nullptr, environment);
    }

    /// A constant's values as the program holds them (matrices column by column as GLSL stores them).
    std::vector<float> ReadBack(korvane::CShader& shader, const std::string& name)
    {
        os::gfx::ConstantTable* table = shader.GetConstantTable();
        std::vector<float> values;
        EXPECT_EQ(os::gfx::kOk, table->ReadBack(device, table->GetConstantByName(nullptr, name), &values)) << name;
        return values;
    }
    std::vector<float> ReadVertex(korvane::CShaderPair& pair, const std::string& name)
    {
        return ReadBack(*pair.GetVertexShader(), name);
    }
    std::vector<float> ReadPixel(korvane::CShaderPair& pair, const std::string& name)
    {
        return ReadBack(*pair.GetPixelShader(), name);
    }

    korvane::CShaderEnvironment* environment = nullptr;
    boost::shared_ptr<CountingLoader> loader;
};

/// A matrix as GLSL holds it after the engine set it as it is: the same sixteen floats.
inline std::vector<float> Stored(const korvane::Matrix4& m)
{
    return std::vector<float>(std::begin(m.m), std::end(m.m));
}

} // namespace shadertest
