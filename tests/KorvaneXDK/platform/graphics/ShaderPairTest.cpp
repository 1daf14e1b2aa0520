/** @file ShaderPairTest.cpp Shader pairs from a packed archive: the environment's values, uniforms by name, the pair
 * cache, failures and the program's canvas pair drawing; the camera, its clippers and the viewport against
 * hand-computed values. */

#include "GraphicsTestSupport.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "KorvaneXDK/platform/graphics/OrthoViewClipper.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "KorvaneXDK/platform/graphics/ViewFrustumClipper.h"
#include "KorvaneXDK/platform/graphics/Viewport.h"

namespace
{

using namespace graphicstest;
using namespace korvane;
using korvane::test::MessageOf;

constexpr float kPi = 3.14159265358979f;

void ExpectNear(const Floats& expected, const Floats& got)
{
    EXPECT_THAT(got, ::testing::Pointwise(::testing::FloatNear(1e-5f), expected));
}

void ExpectNear(const Matrix4& expected, const Matrix4& got)
{
    ExpectNear(Stored(expected), Stored(got));
}

/// The identity with the given (row, column) elements changed.
Matrix4 With(std::initializer_list<std::tuple<int, int, float>> elements)
{
    Matrix4 m;
    for (const auto& [row, column, value] : elements)
        m(row, column) = value;
    return m;
}

/// A world moved to (1, 2, 3), and its inverse.
const Matrix4 kMoved = With({{3, 0, 1.0f}, {3, 1, 2.0f}, {3, 2, 3.0f}});
const Matrix4 kBack = With({{3, 0, -1.0f}, {3, 1, -2.0f}, {3, 2, -3.0f}});

/// A world matrix without an inverse.
Matrix4 Flat()
{
    Matrix4 flat;
    os::gfx::MatrixScaling(&flat, 0, 1, 1);
    return flat;
}

/// The pair of every environment name, begun.
class ShaderPairTest : public ShaderTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShaderTest::SetUp());
        pair = environment->GetShaderPair("test\\all");
        pair->Begin();
    }

    /// The named constants of the vertex stage, one after the other.
    Floats Values(std::initializer_list<const char*> names)
    {
        Floats all;
        for (const char* name : names)
            std::ranges::copy(ReadBack(*pair->GetVertexShader(), name), std::back_inserter(all));
        return all;
    }
};

TEST_F(ShaderPairTest, ABegunPairTakesTheEnvironmentsStartingValues)
{
    for (const char* name :
         {"World", "View", "Projection", "InverseWorld", "InverseView", "LightView", "LightProjection"})
        EXPECT_EQ(Stored(Matrix4()), ReadBack(*pair->GetVertexShader(), name)) << name;
    EXPECT_EQ((Floats{0, 0, 0, 1, 1, 1, 1, 1, 0,   0,    0, 1, 0, 0, 0, 1, 1, 0, 1, 0, 1, 0,   0,   0, 1,
                      1, 1, 1, 1, 0, 0, 0, 1, 500, 1000, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 512, 512, 0, 1}),
              Values({"MaterialAmbient", "MaterialDiffuse", "MaterialEmissive", "MaterialSpecular", "MaterialPower",
                      "LightDirection", "LightAmbient", "LightDiffuse", "LightSpecular", "FogRange", "FogColor",
                      "SpecialColor", "SceneTime", "ShadowTextureSize"}));
}

TEST_F(ShaderPairTest, ABegunPairTakesAChangedEnvironmentWithTheFogsAlphaFromItsFlag)
{
    environment->SetWorldMatrix(kMoved);
    environment->SetFogColor(Color4<float>(0.5f, 0.5f, 0.5f, 0.25f));
    environment->SetFogRange(10, 20);
    Light light;
    light.Direction = Vector3<float>(0, 0, -1);
    light.Diffuse = Color4<float>(0.5f, 0.25f, 1, 1);
    light.Position = Vector3<float>(9, 9, 9);
    light.Range = 100;
    environment->SetLight(light);
    environment->SetSceneTime(2.5f);
    environment->SetShadowTextureSize(Vector2<float>(256, 128));
    pair->Begin();
    EXPECT_EQ(Stored(kMoved), ReadBack(*pair->GetVertexShader(), "World"));
    EXPECT_EQ(Stored(kBack), ReadBack(*pair->GetVertexShader(), "InverseWorld"));
    EXPECT_EQ(
        (Floats{0.5f, 0.5f, 0.5f, 0, 10, 20, 0, 1, 0, 0, -1, 1, 0.5f, 0.25f, 1, 1, 0, 0, 0, 0, 2.5f, 256, 128, 0, 1}),
        Values({"FogColor", "FogRange", "LightDirection", "LightDiffuse", "LightAmbient", "SceneTime",
                "ShadowTextureSize"}));
    EXPECT_EQ(Stored(kMoved), ReadBack(*pair->GetPixelShader(), "World")); // one uniform, both stages
    environment->SetFogEnabled(true);
    pair->ApplyEnvironment();
    EXPECT_EQ((Floats{0.5f, 0.5f, 0.5f, 1}), ReadBack(*pair->GetVertexShader(), "FogColor"));
}

TEST_F(ShaderPairTest, ASingularWorldMatrixKeepsThePreviousInverse)
{
    environment->SetWorldMatrix(kMoved);
    environment->SetWorldMatrix(Flat());
    EXPECT_EQ(Stored(kBack), Stored(environment->GetInverseWorldMatrix()));
}

TEST_F(ShaderPairTest, APairIsNamedAfterItsStemAndItsShadersAfterTheirEntries)
{
    EXPECT_EQ((Names{"test\\all", "test\\all.vs", "test\\all.ps"}),
              (Names{pair->GetName(), pair->GetVertexShader()->GetName(), pair->GetPixelShader()->GetName()}));
    EXPECT_EQ((Names{"test\\all.vs", "test\\all.ps"}), loader->opened);
}

TEST_F(ShaderPairTest, UniformsAreFoundByTheirExactNameAndUnknownNamesGiveTheSharedEmptyOne)
{
    // Case matters; unknown names give the shared empty pair, which takes every set.
    EXPECT_FALSE(pair->GetUniform("world")->IsValid());
    EXPECT_EQ(pair->GetUniform("world"), pair->GetUniform("Nothing"));
    pair->GetUniform("world")->SetFloat(1.0f);
    const auto world = pair->GetUniform("World");
    EXPECT_EQ(std::make_tuple(true, true, true, std::string("World")),
              std::make_tuple(world->IsValid(), world->GetVertexHandle() != nullptr, world->GetPixelHandle() != nullptr,
                              std::string(world->GetPixelDesc().Name)));
}

TEST_F(ShaderPairTest, APixelOnlyUniformIsWrittenThereAndNowhereElse)
{
    auto tint = pair->GetUniform("Tint");
    EXPECT_EQ(nullptr, tint->GetVertexHandle());
    tint->SetColor(Color4<float>(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ((Floats{0.1f, 0.2f, 0.3f, 0.4f}), ReadBack(*pair->GetPixelShader(), "Tint"));
    tint->SetVector2(Vector2<float>(3, 4));
    EXPECT_EQ((Floats{3, 4, 0, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));
    tint->SetVector3(Vector3<float>(1, 2, 3));
    EXPECT_EQ((Floats{1, 2, 3, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));
}

TEST_F(ShaderPairTest, AStageRefusingASetStopsItBeforeThePixelStage)
{
    // The vertex stage refuses a float on its sampler.
    EXPECT_EQ("Failed to set vertex-shader uniform: Mixed",
              MessageOf([&] { pair->GetUniform("Mixed")->SetFloat(2.5f); }));
    EXPECT_EQ(Floats{0.5f}, ReadBack(*pair->GetPixelShader(), "Mixed"));
}

TEST_F(ShaderPairTest, SamplersAreFoundByNameInThePixelStageOnly)
{
    // The pixel stage's unit, else -1 (also for the pixel stage's float).
    EXPECT_EQ((std::vector<std::uint32_t>{0u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu}),
              (std::vector<std::uint32_t>{pair->GetSamplerIndex("BaseTexture"), pair->GetSamplerIndex("Tint"),
                                          pair->GetSamplerIndex("Mixed"), pair->GetSamplerIndex("basetexture")}));
}

TEST_F(ShaderPairTest, ApplyDefaultsRestoresTheDeclaredStartingValues)
{
    pair->GetUniform("Tint")->SetVector3(Vector3<float>(1, 2, 3));
    pair->ApplyDefaults();
    EXPECT_EQ((Floats{1, 1, 1, 1}), ReadBack(*pair->GetPixelShader(), "Tint"));
}

TEST_F(ShaderPairTest, AUniformKeptByADrawerOutlivesItsPairAndTheCachesEntry)
{
    const auto world = pair->GetUniform("World");
    auto vertexShader = pair->GetVertexShader();
    pair.reset();
    environment->ClearShaderPairs();
    const Matrix4 flat = Flat();
    world->SetMatrix(&flat);
    EXPECT_EQ(Stored(flat), ReadBack(*vertexShader, "World"));
}

TEST_F(ShaderTest, VertexDeclarationsHoldTheirElementsAndTheCanvasOneIsTheEnvironments)
{
    const boost::shared_ptr<CVertexDeclaration> declarations[] = {
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
}

TEST_F(ShaderTest, ARefusedVertexDeclarationIsReportedAndAppliesNothing)
{
    const auto applied = environment->GetDeclPositionColor2Tex();
    applied->Apply();
    LogCapture log;
    const os::gfx::VertexElement secondStream[] = {
        {1, 0, os::gfx::DeclType::Float3, os::gfx::DeclMethod::Default, os::gfx::DeclUsage::Position, 0},
        os::gfx::DeclEnd()};
    CVertexDeclaration refused(secondStream);
    EXPECT_FALSE(refused.GetDeclaration());
    EXPECT_TRUE(log.Contains("DirectX Error: ")) << log.All();
    refused.Apply();
    EXPECT_EQ(applied->GetDeclaration(), device->GetVertexDeclaration());
}

TEST_F(ShaderTest, TexturesBindBySamplerNameAndAnUnknownNameOrStageBindsNothing)
{
    // Null unbinds.
    CTexture white;
    white.Fill(2, 2, 1, 1, 1, 1, false, os::gfx::Format::Unknown);
    pair = environment->GetShaderPair("shader\\canvas");
    pair->SetTexture("Nothing", &white);
    EXPECT_EQ(nullptr, device->GetTexture(0));
    pair->SetTexture("BaseTexture", &white);
    EXPECT_EQ(white.GetD3DTexture(), device->GetTexture(0).get());
    pair->SetTextureAt(0xFFFFFFFFu, nullptr);
    EXPECT_NE(nullptr, device->GetTexture(0));
    pair->SetTextureAt(0, nullptr);
    EXPECT_EQ(nullptr, device->GetTexture(0));
}

TEST_F(ShaderTest, TheCacheKeepsAPairUnderItsFirstSpellingForAnyCaseOrExtension)
{
    environment->ClearShaderPairs();
    loader->opened.clear();
    CShaderPairCache& cache = environment->GetShaderPairCache();
    auto first = environment->GetShaderPair("Shader\\Canvas");
    EXPECT_EQ(first, environment->GetShaderPair("shader\\canvas.ps"));
    EXPECT_EQ(std::make_pair(std::string("Shader\\Canvas"), std::size_t(1)),
              std::make_pair(first->GetName(), cache.GetCount()));
    EXPECT_EQ((Names{"Shader\\Canvas.vs", "Shader\\Canvas.ps"}), loader->opened);
}

TEST_F(ShaderTest, AFailedLoadStoresNoKeyAndTheNextRequestTriesAgain)
{
    CShaderPairCache& cache = environment->GetShaderPairCache();
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), EFileOpenError);
    loader->opened.clear();
    EXPECT_THROW(cache.GetOrLoad(loader.get(), "test\\novs"), EFileOpenError);
    EXPECT_EQ(Names{"test\\novs.vs"}, loader->opened);
}

TEST_F(ShaderTest, ClearForgetsEveryPairAndTheNextRequestLoadsAgainWhileAHeldOneLivesOn)
{
    auto first = environment->GetShaderPair("Shader\\Canvas");
    environment->ClearShaderPairs();
    loader->opened.clear();
    auto reloaded = environment->GetShaderPair("shader\\canvas");
    EXPECT_NE(first, reloaded);
    EXPECT_EQ(std::make_pair(std::size_t(2), true), std::make_pair(loader->opened.size(), first->IsLoaded()));
    CShaderPairCache& cache = environment->GetShaderPairCache();
    EXPECT_EQ(reloaded, cache.GetWithDriverLoader("SHADER\\CANVAS.vs")); // through the driver's loader too
}

TEST_F(ShaderTest, AFolderPrecacheLoadsPairsByTheirPixelShaderOrXpuEntryAndNamesEach)
{
    LogCapture log;
    environment->ClearShaderPairs();
    loader->opened.clear();
    // The archive lists lower-cased names in order: a.ps, a.vs, b.ps, b.vs, b.xpu, c.txt.
    environment->PrecacheShaderPairsFrom(loader.get(), "fx", false);
    EXPECT_EQ((Names{"fx\\a.vs", "fx\\a.ps", "fx\\b.vs", "fx\\b.ps"}), loader->opened);
    EXPECT_EQ(2u, environment->GetShaderPairCache().GetCount());
    Names lines;
    std::ranges::copy_if(log.Lines(), std::back_inserter(lines), [](const std::string& line) {
        return line.find("precach") != std::string::npos || line.find("--------") != std::string::npos;
    });
    // b.xpu's pair is already cached, but still named.
    using ::testing::HasSubstr;
    EXPECT_THAT(lines, ::testing::ElementsAre(HasSubstr("--- precaching ShaderPair from directory ---"),
                                              HasSubstr("precache: fx\\a"), HasSubstr("precache: fx\\b"),
                                              HasSubstr("precache: fx\\b"), HasSubstr("--------"),
                                              HasSubstr("CSimpleProfiler: 'precaching ShaderPair'")));
}

TEST_F(ShaderTest, APrecacheTakesThePixelShaderExtensionInAnyCaseButNeverTheVertexOne)
{
    korvane::test::TempDir plain;
    plain.Write("E.PS", "unused");
    plain.Write("E.ps", kAllNamesPixelSource);
    plain.Write("E.vs", kAllNamesVertexSource);
    CountingLoader files(boost::shared_ptr<IDataLoader>(new CFileSystemDataLoader(plain.Path())));
    environment->PrecacheShaderPairsFrom(&files, "", false);
    EXPECT_EQ((Names{"E.vs", "E.ps"}), files.opened); // that the pairs are kept is the folder's check
}

TEST_F(ShaderTest, PairsThatAreNotLoadedOrFailToLoadSayWhy)
{
    LogCapture log;
    CShaderPair unloaded;
    const std::function<void()> calls[] = {
        [&] { unloaded.Begin(); }, [&] { unloaded.ApplyEnvironment(); }, [&] { unloaded.GetUniform("World"); },
        [&] { unloaded.GetSamplerIndex("BaseTexture"); }, [&] { unloaded.ApplyDefaults(); }};
    for (const auto& call : calls)
        EXPECT_EQ("Not initialized.", MessageOf(call));
    for (const char* name : {"test\\broken", "test\\empty"}) {
        CShaderPair failing;
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
}

TEST_F(ShaderTest, AMissingEntryIsTheLoadersFailureAndTheCurrentPairSurvivesIt)
{
    environment->SetCurrentShaderPair("shader\\canvas");
    auto canvas = environment->GetCurrentShaderPair();
    EXPECT_THROW(environment->SetCurrentShaderPair("test\\novs"), EFileOpenError);
    EXPECT_EQ(canvas, environment->GetCurrentShaderPair());
}

TEST_F(ShaderTest, AShaderReadsItsWholeEntryFromTheFirstByteWhereverTheStreamWasLeft)
{
    const std::string source = ReadProjectData("shader/canvas.vs");
    CMemoryStream stream = StreamOf(source, static_cast<std::int32_t>(source.size()));
    CVertexShader shader;
    shader.Load(&stream); // an empty source would not compile
}

/// The view of a camera looking along +z from z = -5.
const Matrix4 kLookingAlongZ = With({{3, 2, 5.0f}});

TEST(CameraTest, AViewLooksFromTheEyeAtTheTarget)
{
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetLookAt(Vector3<float>(0, 0, 0));
    ExpectNear(kLookingAlongZ, camera.GetViewMatrix());
}

TEST(CameraTest, TheTargetFollowsTheAnglesWhenTheViewIsBuilt)
{
    // Yaw pi/2 with pitch 0 looks along +x.
    CCamera camera;
    camera.SetEye(0, 0, 0);
    camera.SetAngles(0, kPi / 2);
    camera.GetViewMatrix();
    ExpectNear({1, 0}, {camera.GetTarget().x, camera.GetTarget().z});
}

TEST(CameraTest, ScaleOffsetAndPreMatrixShapeTheView)
{
    // Scale 2 doubles the first three columns, translation included; the offset moves the scene.
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetTarget(0, 0, 0);
    camera.SetViewScale(2);
    ExpectNear(With({{0, 0, 2.0f}, {1, 1, 2.0f}, {2, 2, 2.0f}, {3, 2, 10.0f}}), camera.GetViewMatrix());
    camera.SetViewScale(1);
    camera.SetViewOffset(Vector3<float>(1, 0, 0));
    ExpectNear(With({{3, 2, 5.0f}, {3, 0, -1.0f}}), camera.GetViewMatrix());
    camera.SetViewOffset(Vector3<float>(0, 0, 0));
    camera.SetPreMatrix(With({{0, 0, 3.0f}}));
    ExpectNear(With({{3, 2, 5.0f}, {0, 0, 3.0f}}), camera.GetViewMatrix());
}

TEST(CameraTest, AnExplicitViewMatrixGivesBackEyeAndTarget)
{
    CCamera camera;
    camera.SetViewMatrix(kLookingAlongZ);
    ExpectNear(kLookingAlongZ, camera.GetViewMatrix());
    ExpectNear({-5, -4}, {camera.GetEye().z, camera.GetTarget().z});
}

TEST(CameraTest, UpFromYawPitchRollTurnsTheView)
{
    // A roll of pi/2 lays up along -x.
    CCamera camera;
    camera.SetUpFromYawPitchRoll(0, 0, kPi / 2);
    camera.SetTarget(0, 0, 0);
    camera.SetEye(0, 0, -5);
    EXPECT_NEAR(-1.0f, camera.GetViewMatrix()(0, 1), 1e-5f);
}

TEST(CameraTest, ProjectionsKeepTheirModeAndClipperAndOnlyPerspectiveHasAFieldOfView)
{
    CCamera projecting;
    EXPECT_EQ(0, projecting.GetProjectionMode());
    projecting.SetOrtho(448, 288, 0, 1);
    EXPECT_EQ(1, projecting.GetProjectionMode());
    auto* ortho = dynamic_cast<COrthoViewClipper*>(projecting.GetClipper().get());
    ASSERT_NE(nullptr, ortho);
    EXPECT_EQ((Floats{-224, 224, -144, 144}),
              (Floats{ortho->GetLeft(), ortho->GetRight(), ortho->GetBottom(), ortho->GetTop()}));

    projecting.SetOrthoOffCenter(0, 640, 480, 0, 0, 1);
    EXPECT_EQ(3, projecting.GetProjectionMode());
    korvane::test::ExpectThrowWith<EInvalidOperation>(
        [&] { projecting.GetFov(); }, "GetFov(): Projection Mode must be PERSPEVTIVE", "class korvane::CCamera");
    EXPECT_THROW(projecting.GetAspect(), EInvalidOperation);

    projecting.SetPerspectiveOffCenter(-1, 1, -1, 1, 1, 100);
    EXPECT_EQ(2, projecting.GetProjectionMode());
    EXPECT_NE(nullptr, dynamic_cast<CViewFrustumClipper*>(projecting.GetClipper().get()));
    projecting.SetPerspective(1.0f, 2.0f, 5, 50);
    EXPECT_EQ(1.0f, projecting.GetFov());
}

TEST(CameraTest, ClippersTestSpheresAgainstTheirPlanes)
{
    CViewFrustumClipper frustum(kPi / 2, 1.0f, 10, 100);
    CViewFrustumClipper offCentre(0, 2, -1, 1, 1, 10); // edges at x = 0 and 2 on the near plane at 1
    COrthoViewClipper orthoClipper(-224, 224, -144, 144, 0, 1);
    const std::tuple<const char*, ICameraViewClipper*, Vector3<float>, float, bool> cases[] = {
        {"reaching over the near plane", &frustum, {0, 0, 9.5f}, 1, true},
        {"wholly before the near plane", &frustum, {0, 0, 8.5f}, 1, false},
        {"behind the far plane", &frustum, {0, 0, 101.5f}, 1, false},
        {"touching the left plane", &frustum, {-50.5f, 0, 50}, 1, true},
        {"beyond the left plane", &frustum, {-52, 0, 50}, 1, false},
        {"beyond the top plane", &frustum, {0, 52, 50}, 1, false},
        {"off-centre inside", &offCentre, {1, 0, 5}, 0.1f, true},
        {"off-centre left", &offCentre, {-1, 0, 5}, 0.5f, false},
        {"off-centre right", &offCentre, {12, 0, 5}, 0.5f, false},
        {"ortho touching the right", &orthoClipper, {224.5f, 0, 0.5f}, 1, true},
        {"ortho below", &orthoClipper, {0, -146, 0.5f}, 1, false},
        {"ortho behind the far plane", &orthoClipper, {0, 0, 2.5f}, 1, false}};
    for (const auto& [what, clipper, center, radius, visible] : cases)
        EXPECT_EQ(visible, clipper->IsSphereVisible(center, radius)) << what;
    // Field of view pi/2, aspect 1: the side planes lean at 45 degrees.
    ExpectNear({std::sqrt(0.5f), std::sqrt(0.5f), -10, 100},
               {frustum.GetLeftPlane().a, frustum.GetLeftPlane().c, frustum.GetNearPlane().d, frustum.GetFarPlane().d});
}

TEST(CameraTest, BillboardsFaceTheCamera)
{
    // Looking along +z, the billboard is the identity.
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetTarget(0, 0, 0);
    Matrix4 billboard;
    camera.GetBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);
    camera.GetYAxisBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);
}

/// A camera looking along +z from z = -5 at the origin, with the environment it writes.
class AppliedCameraTest : public ShaderTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(ShaderTest::SetUp());
        applied.SetEye(0, 0, -5);
        applied.SetTarget(0, 0, 0);
    }

    CCamera applied;
};

TEST_F(AppliedCameraTest, ApplyingWritesTheViewProjectionAndDepthBandToTheEnvironment)
{
    applied.Apply();
    EXPECT_EQ((std::array<float, 4>{1100, 1400, 200, 500}), environment->GetDepthBand());
    EXPECT_EQ(std::make_pair(1, false),
              std::make_pair(environment->GetDepthBandLevel(), environment->IsDepthBandEnabled()));
    ExpectNear(applied.GetViewMatrix(), environment->GetViewMatrix());
    ExpectNear(applied.GetProjectionMatrix(), environment->GetProjectionMatrix());
    EXPECT_NEAR(5.0f, environment->GetInverseViewMatrix()(3, 2) * -1.0f, 1e-5f);

    applied.SetDepthBandEnabled(true);
    applied.Apply();
    EXPECT_TRUE(environment->IsDepthBandEnabled());
    applied.ApplyAsLight();
    ExpectNear(applied.GetViewMatrix(), environment->GetLightViewMatrix());
}

TEST_F(AppliedCameraTest, ProjectUsesTheEnvironmentsMatricesAndPutsTheTargetMidScreen)
{
    applied.Apply();
    Vector3<float> projected;
    applied.Project(projected, Vector3<float>(0, 0, 0));
    ExpectNear({0, 0}, {projected.x, projected.y});
}

TEST_F(AppliedCameraTest, TheDepthBandLevelIsTheIntegerPartOfTheSpreadsDistanceBelowFiveAndAHalf)
{
    // max(5.5 - spread, 1) for every spread the camera holds, those whose level lies beyond the
    // 32-bit range and a NaN included.
    applied.SetDepthBandEnabled(true);
    using Float = std::numeric_limits<float>;
    const std::pair<float, std::int32_t> spreads[] = {
        {4.0f, 1}, {0.5f, 5}, {-100.0f, 105}, {-1.0e10f, INT32_MAX}, {Float::quiet_NaN(), 1}, {Float::infinity(), 1}};
    for (const auto& [spread, level] : spreads) {
        applied.SetDepthBandSpread(spread);
        applied.Apply();
        EXPECT_EQ(level, environment->GetDepthBandLevel()) << "spread " << spread;
    }
}

using ViewportTest = DriverTest<64, 48>;

TEST_F(ViewportTest, AnEmptyViewportIsNotApplied)
{
    CViewport viewport;
    EXPECT_EQ(std::make_pair(0u, 1.0f), std::make_pair(viewport.GetWidth(), viewport.GetAspectFactor()));
    viewport.Set(8, 4, 0, 20, 0, 1);
    EXPECT_FALSE(viewport.Apply());
    os::gfx::Viewport set{};
    device->GetViewport(&set); // a failed read leaves the width 0
    EXPECT_EQ(kWidth, set.Width);
}

TEST_F(ViewportTest, AViewportSetsItsRectangleOnTheDeviceAndARefusedOneIsNotReportedAsSet)
{
    CViewport viewport;
    viewport.Set(8, 4, 32, 16, 0, 1);
    viewport.SetAspectFactor(0.5f);
    EXPECT_TRUE(viewport.Apply());
    os::gfx::Viewport set{};
    device->GetViewport(&set);
    EXPECT_EQ(
        (std::vector<std::uint32_t>{8, 4, 32, 16, 40, 20}),
        (std::vector<std::uint32_t>{set.X, set.Y, set.Width, set.Height, viewport.GetRight(), viewport.GetBottom()}));
    EXPECT_EQ(1.0f, viewport.GetAspect());
    viewport.Set(60, 0, 32, 16, 0, 1); // a rectangle the device refuses
    EXPECT_FALSE(viewport.Apply());
}

} // namespace
