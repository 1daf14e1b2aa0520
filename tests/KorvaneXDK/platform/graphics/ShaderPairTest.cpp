/** @file ShaderPairTest.cpp Shader pairs from a packed archive: the environment's values, uniforms by name, failures. */
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "ShaderTestSupport.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"

namespace shadertest
{
namespace
{

using korvane::Color4;
using korvane::Matrix4;
using korvane::Vector2;
using korvane::Vector3;
using Floats = std::vector<float>;

const Floats kIdentity = Stored(Matrix4());

Matrix4 Translation(float x, float y, float z)
{
    Matrix4 m;
    os::gfx::MatrixTranslation(&m, x, y, z);
    return m;
}

using korvane::test::MessageOf;

TEST_F(ShaderTest, BeginPushesTheEnvironmentsTwentyOneValues)
{
    boost::shared_ptr<korvane::CShaderPair> pair = environment->GetShaderPair("test\\all");
    pair->Begin();
    struct Case
    {
        const char* name;
        Floats expected;
    };
    const Case fresh[] = {
        {"World", kIdentity},
        {"View", kIdentity},
        {"Projection", kIdentity},
        {"InverseWorld", kIdentity},
        {"InverseView", kIdentity},
        {"LightView", kIdentity},
        {"LightProjection", kIdentity},
        {"MaterialAmbient", {0, 0, 0, 1}},
        {"MaterialDiffuse", {1, 1, 1, 1}},
        {"MaterialEmissive", {0, 0, 0, 1}},
        {"MaterialSpecular", {0, 0, 0, 1}},
        {"MaterialPower", {1}},
        {"LightDirection", {0, 1, 0, 1}},
        {"LightAmbient", {0, 0, 0, 1}},
        {"LightDiffuse", {1, 1, 1, 1}},
        {"LightSpecular", {0, 0, 0, 1}},
        {"FogRange", {500, 1000, 0, 1}},
        {"FogColor", {0, 0, 0, 0}},
        {"SpecialColor", {0, 0, 0, 0}},
        {"SceneTime", {0}},
        {"ShadowTextureSize", {512, 512, 0, 1}},
    };
    for (const Case& c : fresh) {
        EXPECT_EQ(c.expected, ReadVertex(*pair, c.name)) << c.name;
    }

    // A changed environment: the fog's alpha comes from the flag, never from the stored colour.
    environment->SetWorldMatrix(Translation(1, 2, 3));
    environment->SetFogColor(Color4<float>(0.5f, 0.5f, 0.5f, 0.25f));
    environment->SetFogRange(10, 20);
    korvane::Light light;
    light.Direction = Vector3<float>(0, 0, -1);
    light.Diffuse = Color4<float>(0.5f, 0.25f, 1, 1);
    light.Position = Vector3<float>(9, 9, 9);
    light.Range = 100;
    environment->SetLight(light);
    environment->SetSceneTime(2.5f);
    environment->SetShadowTextureSize(Vector2<float>(256, 128));
    pair->Begin();
    const Case changed[] = {
        {"World", Stored(Translation(1, 2, 3))}, {"InverseWorld", Stored(Translation(-1, -2, -3))},
        {"FogColor", {0.5f, 0.5f, 0.5f, 0}},     {"FogRange", {10, 20, 0, 1}},
        {"LightDirection", {0, 0, -1, 1}},       {"LightDiffuse", {0.5f, 0.25f, 1, 1}},
        {"LightAmbient", {0, 0, 0, 0}},          {"SceneTime", {2.5f}},
        {"ShadowTextureSize", {256, 128, 0, 1}},
    };
    for (const Case& c : changed) {
        EXPECT_EQ(c.expected, ReadVertex(*pair, c.name)) << c.name;
    }
    EXPECT_EQ(Stored(Translation(1, 2, 3)), ReadPixel(*pair, "World")); // one uniform, both stages
    environment->SetFogEnabled(true);
    pair->ApplyEnvironment();
    EXPECT_EQ((Floats{0.5f, 0.5f, 0.5f, 1}), ReadVertex(*pair, "FogColor"));
    EXPECT_EQ(0.25f, environment->GetFogColor().a);

    // A singular world matrix keeps the previous inverse.
    Matrix4 flat;
    os::gfx::MatrixScaling(&flat, 0, 1, 1);
    environment->SetWorldMatrix(flat);
    EXPECT_EQ(Stored(Translation(-1, -2, -3)), Stored(environment->GetInverseWorldMatrix()));
}

TEST_F(ShaderTest, UniformsAreFoundByExactNameAndSetBothStagesOrRefuseWhole)
{
    boost::shared_ptr<korvane::CShaderPair> pair = environment->GetShaderPair("test\\all");
    EXPECT_EQ("test\\all", pair->GetName());
    EXPECT_EQ("test\\all.vs", pair->GetVertexShader()->GetName());
    EXPECT_EQ("test\\all.ps", pair->GetPixelShader()->GetName());
    EXPECT_EQ((std::vector<std::string>{"test\\all.vs", "test\\all.ps"}), loader->opened);

    // Case matters; unknown names give the shared empty pair, which takes every set.
    EXPECT_FALSE(pair->GetUniform("world")->IsValid());
    EXPECT_EQ(pair->GetUniform("world"), pair->GetUniform("Nothing"));
    pair->GetUniform("world")->SetFloat(1.0f);
    EXPECT_TRUE(pair->GetUniform("World")->IsValid());
    EXPECT_NE(nullptr, pair->GetUniform("World")->GetVertexHandle());
    EXPECT_NE(nullptr, pair->GetUniform("World")->GetPixelHandle());
    EXPECT_EQ("World", pair->GetUniform("World")->GetPixelDesc().Name);

    // A pixel-only uniform is written there and nowhere else.
    auto tint = pair->GetUniform("Tint");
    EXPECT_EQ(nullptr, tint->GetVertexHandle());
    tint->SetColor(Color4<float>(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ((Floats{0.1f, 0.2f, 0.3f, 0.4f}), ReadPixel(*pair, "Tint"));
    tint->SetVector2(Vector2<float>(3, 4));
    EXPECT_EQ((Floats{3, 4, 0, 1}), ReadPixel(*pair, "Tint"));
    tint->SetVector3(Vector3<float>(1, 2, 3));
    EXPECT_EQ((Floats{1, 2, 3, 1}), ReadPixel(*pair, "Tint"));

    // The vertex stage refuses a float on its sampler: the pixel stage is not reached.
    EXPECT_EQ("Failed to set vertex-shader uniform: Mixed",
              MessageOf([&] { pair->GetUniform("Mixed")->SetFloat(2.5f); }));
    EXPECT_EQ(Floats{0.5f}, ReadPixel(*pair, "Mixed"));

    // Samplers by name: the pixel stage's unit, else -1 (also for the pixel stage's float).
    EXPECT_EQ(0u, pair->GetSamplerIndex("BaseTexture"));
    EXPECT_EQ(0xFFFFFFFFu, pair->GetSamplerIndex("Tint"));
    EXPECT_EQ(0xFFFFFFFFu, pair->GetSamplerIndex("Mixed"));
    EXPECT_EQ(0xFFFFFFFFu, pair->GetSamplerIndex("basetexture"));

    pair->ApplyDefaults();
    EXPECT_EQ((Floats{1, 1, 1, 1}), ReadPixel(*pair, "Tint"));

    // A uniform kept by a drawer outlives the pair and the cache's entry.
    boost::shared_ptr<korvane::CShaderUniformPair> world = pair->GetUniform("World");
    auto vertexShader = pair->GetVertexShader();
    pair.reset();
    environment->ClearShaderPairs();
    const Matrix4 identity;
    world->SetMatrix(&identity);
    EXPECT_EQ(kIdentity, ReadBack(*vertexShader, "World"));
}

TEST_F(ShaderTest, PairsThatAreNotLoadedOrFailToLoadSayWhy)
{
    korvane::test::LogCapture log;
    korvane::CShaderPair unloaded;
    const std::function<void()> calls[] = {
        [&] { unloaded.Begin(); },
        [&] { unloaded.ApplyEnvironment(); },
        [&] { unloaded.GetUniform("World"); },
        [&] { unloaded.GetSamplerIndex("BaseTexture"); },
        [&] { unloaded.ApplyDefaults(); },
    };
    for (const auto& call : calls) {
        EXPECT_EQ("Not initialized.", MessageOf(call));
    }

    struct Case
    {
        const char* name;
        const char* message;
    };
    const Case failures[] = {
        {"test\\broken", "CreateVertexShader() failed."},
        {"test\\empty", "CreateVertexShader() failed."},
    };
    for (const Case& c : failures) {
        korvane::CShaderPair pair;
        EXPECT_EQ(c.message, MessageOf([&] { pair.LoadFromDataLoader(loader.get(), c.name); })) << c.name;
        EXPECT_FALSE(pair.IsLoaded());
    }
    EXPECT_EQ("No data loader.", MessageOf([&] { unloaded.LoadFromDataLoader(nullptr, "test\\all"); }));
    EXPECT_EQ("No data loader.",
              MessageOf([&] { environment->GetShaderPairCache().PrecacheDirectory(nullptr, "", true); }));
    // The compiler's words reach the log.
    EXPECT_TRUE(log.Contains("Shader 'test\\broken.vs' was not compiled:")) << log.All();
    EXPECT_TRUE(log.Contains("error")) << log.All();

    // A missing entry is the loader's failure; a current pair survives it.
    environment->SetCurrentShaderPair("shader\\canvas");
    auto canvas = environment->GetCurrentShaderPair();
    EXPECT_THROW(environment->SetCurrentShaderPair("test\\novs"), korvane::EFileOpenError);
    EXPECT_EQ(canvas, environment->GetCurrentShaderPair());
}

TEST_F(ShaderTest, DeclarationsAreMadeOnceAndARefusedOneIsReportedAndSetsNothing)
{
    const boost::shared_ptr<korvane::CVertexDeclaration> declarations[] = {
        environment->GetDeclPositionNormalTex(),         environment->GetDeclPositionColor2Tex(),
        environment->GetDeclPositionColorTex(),          environment->GetDeclSkinnedPositionNormalTex(),
        environment->GetDeclPositionNormalTangentTex2(), environment->GetDeclSkinnedPositionNormalTangentTex2(),
    };
    const std::size_t lastOffsets[] = {24, 20, 16, 40, 48, 68};
    for (std::size_t i = 0; i < 6; ++i) {
        ASSERT_TRUE(declarations[i]->GetDeclaration()) << i;
        EXPECT_EQ(lastOffsets[i], declarations[i]->GetDeclaration()->GetElements().back().Offset) << i;
    }
    EXPECT_EQ(environment->GetVertexDeclaration(), environment->GetDeclPositionColor2Tex());
    environment->GetDeclPositionColor2Tex()->Apply();
    EXPECT_EQ(declarations[1]->GetDeclaration(), device->GetVertexDeclaration());

    korvane::test::LogCapture log;
    const os::gfx::VertexElement secondStream[] = {
        {1, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
        os::gfx::DeclEnd(),
    };
    korvane::CVertexDeclaration refused(secondStream);
    EXPECT_FALSE(refused.GetDeclaration());
    EXPECT_TRUE(log.Contains("DirectX Error: ")) << log.All();
    refused.Apply();
    EXPECT_EQ(declarations[1]->GetDeclaration(), device->GetVertexDeclaration());
}

} // namespace
} // namespace shadertest
