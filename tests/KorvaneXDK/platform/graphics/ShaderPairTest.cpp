/** @file ShaderPairTest.cpp Shader pairs from a packed archive: the environment's values, uniforms by name, the pair
 * cache, failures and the program's canvas pair drawing. */
#include "GraphicsTestSupport.h"
#include "KorvaneXDK/core/FileSystemDataLoader.h"
#include "KorvaneXDK/platform/graphics/ShaderPairCache.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "os/gfx/Texture.h"

namespace
{

using namespace graphicstest;
using korvane::Color4;
using korvane::Matrix4;
using korvane::Vector2;
using korvane::Vector3;
using korvane::test::MessageOf;

const Floats kIdentity = Stored(Matrix4());

Matrix4 Translation(float x, float y, float z)
{
    Matrix4 m;
    os::gfx::MatrixTranslation(&m, x, y, z);
    return m;
}

TEST_F(ShaderTest, BeginPushesTheEnvironmentsTwentyOneValuesAndUniformsAreFoundByExactNameAndSetBothStages)
{
    const auto values = [&](std::initializer_list<const char*> names) {
        Floats all;
        for (const char* name : names) {
            const Floats one = ReadBack(*pair->GetVertexShader(), name);
            all.insert(all.end(), one.begin(), one.end());
        }
        return all;
    };
    pair = environment->GetShaderPair("test\\all");
    pair->Begin();
    for (const char* name :
         {"World", "View", "Projection", "InverseWorld", "InverseView", "LightView", "LightProjection"})
        EXPECT_EQ(kIdentity, ReadBack(*pair->GetVertexShader(), name)) << name;
    EXPECT_EQ((Floats{0, 0, 0, 1, 1, 1, 1, 1, 0,   0,    0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0,   0,   0, 1,
                      1, 1, 1, 1, 0, 0, 0, 1, 500, 1000, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 512, 512, 0, 1}),
              values({"MaterialAmbient", "MaterialDiffuse", "MaterialEmissive", "MaterialSpecular", "MaterialPower",
                      "LightDirection", "LightAmbient", "LightDiffuse", "LightSpecular", "FogRange", "FogColor",
                      "SpecialColor", "SceneTime", "ShadowTextureSize"}));

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
    EXPECT_EQ(Stored(Translation(1, 2, 3)), ReadBack(*pair->GetVertexShader(), "World"));
    EXPECT_EQ(Stored(Translation(-1, -2, -3)), ReadBack(*pair->GetVertexShader(), "InverseWorld"));
    EXPECT_EQ(
        (Floats{0.5f, 0.5f, 0.5f, 0, 10, 20, 0, 1, 0, 0, -1, 1, 0.5f, 0.25f, 1, 1, 0, 0, 0, 0, 2.5f, 256, 128, 0, 1}),
        values({"FogColor", "FogRange", "LightDirection", "LightDiffuse", "LightAmbient", "SceneTime",
                "ShadowTextureSize"}));
    EXPECT_EQ(Stored(Translation(1, 2, 3)), ReadBack(*pair->GetPixelShader(), "World")); // one uniform, both stages
    environment->SetFogEnabled(true);
    pair->ApplyEnvironment();
    EXPECT_EQ((Floats{0.5f, 0.5f, 0.5f, 1}), ReadBack(*pair->GetVertexShader(), "FogColor"));
    EXPECT_EQ(0.25f, environment->GetFogColor().a);

    // A singular world matrix keeps the previous inverse.
    Matrix4 flat;
    os::gfx::MatrixScaling(&flat, 0, 1, 1);
    environment->SetWorldMatrix(flat);
    EXPECT_EQ(Stored(Translation(-1, -2, -3)), Stored(environment->GetInverseWorldMatrix()));

    // Uniforms are found by their exact name and set both stages or refuse whole.
    pair = environment->GetShaderPair("test\\all");
    EXPECT_EQ((Names{"test\\all", "test\\all.vs", "test\\all.ps"}),
              (Names{pair->GetName(), pair->GetVertexShader()->GetName(), pair->GetPixelShader()->GetName()}));
    EXPECT_EQ((Names{"test\\all.vs", "test\\all.ps"}), loader->opened);

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
    EXPECT_EQ((Floats{0.1f, 0.2f, 0.3f, 0.4f}), ReadBack(*pair->GetPixelShader(), "Tint"));
    tint->SetVector2(Vector2<float>(3, 4));
    EXPECT_EQ((Floats{3, 4, 0, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));
    tint->SetVector3(Vector3<float>(1, 2, 3));
    EXPECT_EQ((Floats{1, 2, 3, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));

    // The vertex stage refuses a float on its sampler: the pixel stage is not reached.
    EXPECT_EQ("Failed to set vertex-shader uniform: Mixed",
              MessageOf([&] { pair->GetUniform("Mixed")->SetFloat(2.5f); }));
    EXPECT_EQ(Floats{0.5f}, ReadBack(*pair->GetPixelShader(), "Mixed"));

    // Samplers by name: the pixel stage's unit, else -1 (also for the pixel stage's float).
    EXPECT_EQ((std::vector<std::uint32_t>{0u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}),
              (std::vector<std::uint32_t>{pair->GetSamplerIndex("BaseTexture"), pair->GetSamplerIndex("Tint"),
                                          pair->GetSamplerIndex("Mixed"), pair->GetSamplerIndex("basetexture")}));
    pair->ApplyDefaults();
    EXPECT_EQ((Floats{1, 1, 1, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));

    // A uniform kept by a drawer outlives the pair and the cache's entry.
    boost::shared_ptr<korvane::CShaderUniformPair> world = pair->GetUniform("World");
    auto vertexShader = pair->GetVertexShader();
    pair.reset();
    environment->ClearShaderPairs();
    const Matrix4 identity;
    world->SetMatrix(&identity);
    EXPECT_EQ(kIdentity, ReadBack(*vertexShader, "World"));
}

/// The layout of the canvas and the fonts (28 bytes).
struct CanvasVertex
{
    float x, y, z;
    std::uint32_t color0, color1;
    float u, v;
};

TEST_F(ShaderTest, DeclarationsAreMadeOnceARefusedOneSetsNothingAndTheCanvasPairDrawsATexturedQuad)
{
    const boost::shared_ptr<korvane::CVertexDeclaration> declarations[] = {
        environment->GetDeclPositionNormalTex(),         environment->GetDeclPositionColor2Tex(),
        environment->GetDeclPositionColorTex(),          environment->GetDeclSkinnedPositionNormalTex(),
        environment->GetDeclPositionNormalTangentTex2(), environment->GetDeclSkinnedPositionNormalTangentTex2()};
    const std::size_t lastOffsets[] = {24, 20, 16, 40, 48, 68};
    for (std::size_t i = 0; i < 6; ++i) {
        ASSERT_TRUE(declarations[i]->GetDeclaration()) << i;
        EXPECT_EQ(lastOffsets[i], declarations[i]->GetDeclaration()->GetElements().back().Offset) << i;
    }
    EXPECT_EQ(environment->GetVertexDeclaration(), environment->GetDeclPositionColor2Tex());
    environment->GetDeclPositionColor2Tex()->Apply();
    EXPECT_EQ(declarations[1]->GetDeclaration(), device->GetVertexDeclaration());

    LogCapture log;
    const os::gfx::VertexElement secondStream[] = {
        {1, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
        os::gfx::DeclEnd()};
    korvane::CVertexDeclaration refused(secondStream);
    EXPECT_FALSE(refused.GetDeclaration());
    EXPECT_TRUE(log.Contains("DirectX Error: ")) << log.All();
    refused.Apply();
    EXPECT_EQ(declarations[1]->GetDeclaration(), device->GetVertexDeclaration());

    // The canvas pair draws a textured quad with its vertex colour.
    constexpr std::uint32_t kBlue = 0xFF0000FFu;
    korvane::CTexture white; // a white texture: the pixel is the vertex colour
    white.Fill(2, 2, 1, 1, 1, 1, false, os::gfx::Format::Unknown);
    environment->GetDeclPositionColor2Tex()->Apply();
    ASSERT_NO_FATAL_FAILURE(PrepareCanvas());
    ASSERT_EQ(0u, pair->GetSamplerIndex("BaseTexture"));
    pair->SetTexture("Nothing", &white); // no such sampler: nothing is bound
    EXPECT_EQ(nullptr, device->GetTexture(0));
    pair->SetTexture("BaseTexture", &white);
    EXPECT_EQ(white.GetD3DTexture(), device->GetTexture(0).get());

    // Pixels 8..23 x 4..19; the world matrix moves the second copy 32 pixels right.
    const CanvasVertex quad[4] = {
        {8, 4, 0, kBlue, 0, 0, 0}, {24, 4, 0, kBlue, 0, 1, 0}, {8, 20, 0, kBlue, 0, 0, 1}, {24, 20, 0, kBlue, 0, 1, 1}};
    const auto draws = Record([&] {
        ASSERT_EQ(os::gfx::kOk,
                  device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, sizeof(CanvasVertex)));
        const Matrix4 world = Translation(31.5f, -0.5f, 0);
        pair->GetUniform("World")->SetMatrix(&world);
        ASSERT_EQ(os::gfx::kOk,
                  device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, sizeof(CanvasVertex)));
    });
    const std::vector<std::uint32_t> pixels = ReadPixels();
    const std::uint32_t checks[][3] = {
        {8, 4, kBlue},        {23, 19, kBlue}, {7, 4, 0xFF000000u}, {24, 4, 0xFF000000u},  {8, 3, 0xFF000000u},
        {8, 20, 0xFF000000u}, {40, 4, kBlue},  {55, 19, kBlue},     {39, 10, 0xFF000000u}, {56, 10, 0xFF000000u}};
    for (const auto& [x, y, colour] : checks)
        EXPECT_EQ(colour, pixels.at(y * kWidth + x)) << "at " << x << ", " << y;
    ASSERT_EQ(2u, draws.size());
    EXPECT_EQ(std::make_tuple(os::gfx::PrimitiveType::TriangleStrip, 4u, 28u, true, 0u),
              std::make_tuple(draws[0].type, draws[0].vertexCount, draws[0].stride, draws[0].textures[0] != 0u,
                              draws[0].textures[1]));
    EXPECT_EQ(pair->GetVertexShader()->GetConstantTable()->GetProgram(), draws[1].vertexProgram);

    // Null unbinds; an unknown stage index does nothing.
    pair->SetTextureAt(0xFFFFFFFFu, nullptr);
    EXPECT_NE(nullptr, device->GetTexture(0));
    pair->SetTextureAt(0, nullptr);
    EXPECT_EQ(nullptr, device->GetTexture(0));
}

TEST_F(ShaderTest, TheFirstNameOfAKeyWinsAFolderPrecacheLoadsEveryPixelShaderOrXpuAndFailedPairsSayWhy)
{
    korvane::CShaderPairCache& cache = environment->GetShaderPairCache();
    auto first = environment->GetShaderPair("Shader\\Canvas");
    EXPECT_EQ(first, environment->GetShaderPair("shader\\canvas.ps"));
    EXPECT_EQ("Shader\\Canvas", first->GetName());
    EXPECT_EQ((Names{"Shader\\Canvas.vs", "Shader\\Canvas.ps"}), loader->opened);
    EXPECT_EQ(1u, cache.GetCount());

    // A failed load stores no key, and the next request tries again.
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), korvane::EFileOpenError);
    EXPECT_EQ(1u, cache.GetCount());
    loader->opened.clear();
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), korvane::EFileOpenError);
    EXPECT_EQ(Names{"test\\novs.vs"}, loader->opened);

    // Clear forgets every pair (the one still held lives on); the next request loads again.
    environment->ClearShaderPairs();
    EXPECT_EQ(0u, cache.GetCount());
    loader->opened.clear();
    auto reloaded = environment->GetShaderPair("shader\\canvas");
    EXPECT_NE(first, reloaded);
    EXPECT_EQ(2u, loader->opened.size());
    EXPECT_TRUE(first->IsLoaded());
    EXPECT_EQ(reloaded, cache.GetWithDriverLoader("SHADER\\CANVAS.vs")); // through the driver's loader too

    // A folder precache: the archive lists lower-cased names in order: a.ps, a.vs, b.ps, b.vs, b.xpu, c.txt.
    environment->ClearShaderPairs();
    loader->opened.clear();
    LogCapture log;
    environment->PrecacheShaderPairsFrom(loader.get(), "fx", false);
    EXPECT_EQ((Names{"fx\\a.vs", "fx\\a.ps", "fx\\b.vs", "fx\\b.ps"}), loader->opened);
    EXPECT_EQ(2u, environment->GetShaderPairCache().GetCount());
    Names lines;
    std::ranges::copy_if(log.Lines(), std::back_inserter(lines), [](const std::string& line) {
        return line.find("precach") != std::string::npos || line.find("--------") != std::string::npos;
    });
    // b.xpu's pair is already cached, but still named.
    const char* expected[] = {"--- precaching ShaderPair from directory ---", "precache: fx\\a", "precache: fx\\b",
                              "precache: fx\\b", "--------"};
    ASSERT_GE(lines.size(), 5u) << log.All();
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_NE(std::string::npos, lines[i].find(expected[i])) << i;
    EXPECT_TRUE(log.Contains("CSimpleProfiler: 'precaching ShaderPair'")) << log.All();

    // The extension counts in any case ("E.PS"); ".vs" never does.
    korvane::test::TempDir plain;
    plain.Write("E.PS", "unused");
    plain.Write("E.ps", AllNamesPixelSource());
    plain.Write("E.vs", AllNamesVertexSource());
    CountingLoader files(boost::shared_ptr<korvane::IDataLoader>(new korvane::CFileSystemDataLoader(plain.Path())));
    environment->ClearShaderPairs();
    environment->PrecacheShaderPairsFrom(&files, "", false);
    EXPECT_EQ((Names{"E.vs", "E.ps"}), files.opened);
    EXPECT_EQ(1u, environment->GetShaderPairCache().GetCount());

    // Pairs that are not loaded or fail to load say why.
    korvane::CShaderPair unloaded;
    const std::function<void()> calls[] = {
        [&] { unloaded.Begin(); }, [&] { unloaded.ApplyEnvironment(); }, [&] { unloaded.GetUniform("World"); },
        [&] { unloaded.GetSamplerIndex("BaseTexture"); }, [&] { unloaded.ApplyDefaults(); }};
    for (const auto& call : calls)
        EXPECT_EQ("Not initialized.", MessageOf(call));
    for (const char* name : {"test\\broken", "test\\empty"}) {
        korvane::CShaderPair failing;
        EXPECT_EQ("CreateVertexShader() failed.", MessageOf([&] { failing.LoadFromDataLoader(loader.get(), name); }))
            << name;
        EXPECT_FALSE(failing.IsLoaded());
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

    // A shader reads its whole entry, from the first byte, wherever the stream was left.
    const std::string source = ReadProjectData("shader/canvas.vs");
    korvane::CMemoryStream stream = StreamOf(source, static_cast<std::int32_t>(source.size()));
    korvane::CVertexShader shader;
    shader.SetName("shader\\canvas.vs");
    ASSERT_NO_THROW(shader.Load(&stream));
    ASSERT_NE(nullptr, shader.GetConstantTable());
    EXPECT_NE(nullptr, shader.GetConstantTable()->GetConstantByName(nullptr, "World"));
}

} // namespace
