/** @file ShaderTestSupport.h A driver with a device, an archive of shader pairs packed by the project's tool, and read-back helpers. */
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/core/StandardDataLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/PixelShader.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/VertexShader.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Testing.h"
#include "os/gfx/VertexDeclaration.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace shadertest
{

/// Counts what it opens and passes everything to a real loader.
class CountingLoader : public korvane::CStandardDataLoader
{
public:
    explicit CountingLoader(boost::shared_ptr<korvane::IDataLoader> inner) : inner_(std::move(inner)) {}

    korvane::IKorvaneStream* Open(const std::string& name) override
    {
        opened.push_back(name);
        return inner_->Open(name);
    }
    bool Exists(const std::string& name) override { return inner_->Exists(name); }
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override
    {
        inner_->EnumerateFiles(directory, recursive, out);
    }

    std::vector<std::string> opened;

private:
    boost::shared_ptr<korvane::IDataLoader> inner_;
};

/// A file of the program's own data folder.
inline std::string ReadProjectData(const std::string& relative)
{
    return korvane::test::TempDir::Read(std::string(KORVANE_SOURCE_DIR) + "/data/" + relative);
}

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

/// The one driver with a 64 x 48 device on its hidden window, a data loader over an archive
/// packed from `Files()` and the shader environment.
class ShaderTest : public ::testing::Test
{
protected:
    static constexpr std::uint32_t kWidth = 64;
    static constexpr std::uint32_t kHeight = 48;

    /// Archive name (backslashes) -> contents.
    virtual std::map<std::string, std::string> Files()
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
        };
    }

    void SetUp() override
    {
        os::testing::ResetGraphicsHooks();
        for (const auto& [name, bytes] : Files()) {
            std::string path = name;
            for (char& c : path) {
                c = c == '\\' ? '/' : c;
            }
            dir.Write("src/" + path, bytes);
        }
        kvatool::PackOptions options;
        kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);
        ASSERT_TRUE(korvane::CreateApplicationDriver(nullptr));
        driver = korvane::GetApplicationDriver();
        ASSERT_TRUE(driver->InitializeGraphicsForTesting(kWidth, kHeight));
        loader.reset(new CountingLoader(boost::shared_ptr<korvane::IDataLoader>(
            new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(dir.File("data.kva")))));
        driver->SetDataLoader(loader);
        driver->CreateShaderEnvironment();
        environment = driver->GetShaderEnvironment();
        ASSERT_NE(nullptr, environment);
        device = driver->GetGraphics()->GetDevice();
    }

    void TearDown() override
    {
        os::testing::SetDrawRecording(false);
        os::testing::ClearRecordedDraws();
        korvane::DestroyApplicationDriver();
        os::testing::ResetGraphicsHooks();
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

    std::vector<std::uint32_t> ReadPixels()
    {
        std::vector<std::uint32_t> pixels;
        std::uint32_t w = 0, h = 0;
        EXPECT_EQ(os::gfx::kOk, device->ReadBackBuffer(&pixels, &w, &h));
        return pixels;
    }

    korvane::test::TempDir dir;
    korvane::CGameApplicationDriverCX* driver = nullptr;
    korvane::CShaderEnvironment* environment = nullptr;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<CountingLoader> loader;
};

/// A matrix as GLSL holds it after the engine set it as it is: the same sixteen floats.
inline std::vector<float> Stored(const korvane::Matrix4& m)
{
    return std::vector<float>(std::begin(m.m), std::end(m.m));
}

} // namespace shadertest
