/** @file CameraTest.cpp The camera, its clippers and the viewport against hand-computed values. */
#include <cmath>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "KorvaneXDK/platform/graphics/OrthoViewClipper.h"
#include "KorvaneXDK/platform/graphics/ViewFrustumClipper.h"
#include "KorvaneXDK/platform/graphics/Viewport.h"
#include "ShaderTestSupport.h"
#include "support/ExpectThrow.h"

namespace shadertest
{
namespace
{

using korvane::CCamera;
using korvane::Matrix4;
using korvane::Vector3;

constexpr float kPi = 3.14159265358979f;

void ExpectNear(const Matrix4& expected, const Matrix4& got)
{
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(expected.m[i], got.m[i], 1e-5f) << "element " << i;
    }
}

TEST(CameraTest, ViewsFromTargetAnglesAndMatrixWithScaleOffsetAndExtraMatrices)
{
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetLookAt(Vector3<float>(0, 0, 0));
    Matrix4 expected; // looking along +z from z = -5
    expected(3, 2) = 5.0f;
    ExpectNear(expected, camera.GetViewMatrix());

    // Angles: yaw pi/2 with pitch 0 looks along +x.
    camera.SetEye(0, 0, 0);
    camera.SetAngles(0, kPi / 2);
    camera.GetViewMatrix();
    EXPECT_NEAR(1.0f, camera.GetTarget().x, 1e-5f);
    EXPECT_NEAR(0.0f, camera.GetTarget().z, 1e-5f);

    // Scale 2 doubles the first three columns, translation included; the offset moves the scene.
    camera.SetEye(0, 0, -5);
    camera.SetTarget(0, 0, 0);
    camera.SetViewScale(2);
    Matrix4 doubled;
    doubled(0, 0) = doubled(1, 1) = doubled(2, 2) = 2.0f;
    doubled(3, 2) = 10.0f;
    ExpectNear(doubled, camera.GetViewMatrix());
    camera.SetViewScale(1);
    camera.SetViewOffset(Vector3<float>(1, 0, 0));
    Matrix4 offset = expected;
    offset(3, 0) = -1.0f;
    ExpectNear(offset, camera.GetViewMatrix());
    camera.SetViewOffset(Vector3<float>(0, 0, 0));
    Matrix4 pre;
    pre(0, 0) = 3.0f;
    camera.SetPreMatrix(pre);
    Matrix4 withPre = expected;
    withPre(0, 0) = 3.0f;
    ExpectNear(withPre, camera.GetViewMatrix());
    camera.SetPreMatrix(Matrix4());

    // An explicit matrix gives back eye and target.
    camera.SetViewMatrix(expected);
    ExpectNear(expected, camera.GetViewMatrix());
    EXPECT_NEAR(-5.0f, camera.GetEye().z, 1e-5f);
    EXPECT_NEAR(-4.0f, camera.GetTarget().z, 1e-5f);

    // Up from yaw, pitch and roll: a roll of pi/2 lays up along -x.
    camera.SetUpFromYawPitchRoll(0, 0, kPi / 2);
    camera.SetTarget(0, 0, 0);
    camera.SetEye(0, 0, -5);
    const Matrix4& rolled = camera.GetViewMatrix();
    EXPECT_NEAR(-1.0f, rolled(0, 1), 1e-5f);
}

TEST(CameraTest, ProjectionsKeepTheirModeAndClipperAndRefuseTheFieldOfViewOutsidePerspective)
{
    CCamera camera;
    EXPECT_EQ(0, camera.GetProjectionMode());

    camera.SetOrtho(448, 288, 0, 1);
    auto* ortho = dynamic_cast<korvane::COrthoViewClipper*>(camera.GetClipper().get());
    ASSERT_NE(nullptr, ortho);
    EXPECT_EQ((std::vector<float>{-224, 224, -144, 144}),
              (std::vector<float>{ortho->GetLeft(), ortho->GetRight(), ortho->GetBottom(), ortho->GetTop()}));
    EXPECT_EQ(1, camera.GetProjectionMode());

    camera.SetOrthoOffCenter(0, 640, 480, 0, 0, 1);
    EXPECT_EQ(3, camera.GetProjectionMode());
    korvane::test::ExpectThrowWith<korvane::EInvalidOperation>(
        [&] { camera.GetFov(); }, "GetFov(): Projection Mode must be PERSPEVTIVE", "class korvane::CCamera");
    EXPECT_THROW(camera.GetAspect(), korvane::EInvalidOperation);

    camera.SetPerspectiveOffCenter(-1, 1, -1, 1, 1, 100);
    EXPECT_EQ(2, camera.GetProjectionMode());
    EXPECT_NE(nullptr, dynamic_cast<korvane::CViewFrustumClipper*>(camera.GetClipper().get()));
    camera.SetPerspective(1.0f, 2.0f, 5, 50);
    EXPECT_EQ(1.0f, camera.GetFov());
}

TEST(CameraTest, ClippersTestSpheresAgainstTheirPlanes)
{
    struct Case
    {
        const char* what;
        Vector3<float> center;
        float radius;
        bool visible;
    };
    korvane::CViewFrustumClipper frustum(kPi / 2, 1.0f, 10, 100);
    const Case frustumCases[] = {
        {"on the axis", {0, 0, 50}, 1, true},
        {"reaching over the near plane", {0, 0, 9.5f}, 1, true},
        {"wholly before the near plane", {0, 0, 8.5f}, 1, false},
        {"behind the far plane", {0, 0, 101.5f}, 1, false},
        {"touching the left plane", {-50.5f, 0, 50}, 1, true},
        {"beyond the left plane", {-52, 0, 50}, 1, false},
        {"beyond the top plane", {0, 52, 50}, 1, false},
    };
    for (const Case& c : frustumCases) {
        EXPECT_EQ(c.visible, frustum.IsSphereVisible(c.center, c.radius)) << c.what;
    }
    // Field of view pi/2, aspect 1: the side planes lean at 45 degrees.
    EXPECT_NEAR(std::sqrt(0.5f), frustum.GetLeftPlane().a, 1e-6f);
    EXPECT_NEAR(std::sqrt(0.5f), frustum.GetLeftPlane().c, 1e-6f);
    EXPECT_EQ(-10.0f, frustum.GetNearPlane().d);
    EXPECT_EQ(100.0f, frustum.GetFarPlane().d);

    // The off-centre form: edges at x = 0 and 2 on the near plane at 1.
    korvane::CViewFrustumClipper offCentre(0, 2, -1, 1, 1, 10);
    EXPECT_TRUE(offCentre.IsSphereVisible(Vector3<float>(1, 0, 5), 0.1f));
    EXPECT_FALSE(offCentre.IsSphereVisible(Vector3<float>(-1, 0, 5), 0.5f));
    EXPECT_FALSE(offCentre.IsSphereVisible(Vector3<float>(12, 0, 5), 0.5f));

    korvane::COrthoViewClipper ortho(-224, 224, -144, 144, 0, 1);
    EXPECT_TRUE(ortho.IsSphereVisible(Vector3<float>(224.5f, 0, 0.5f), 1));
    EXPECT_FALSE(ortho.IsSphereVisible(Vector3<float>(0, -146, 0.5f), 1));
    EXPECT_FALSE(ortho.IsSphereVisible(Vector3<float>(0, 0, 2.5f), 1));
}

TEST_F(ShaderTest, ApplyWritesViewProjectionAndTheDepthBand)
{
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetTarget(0, 0, 0);
    camera.Apply();
    EXPECT_EQ((std::array<float, 4>{1100, 1400, 200, 500}), environment->GetDepthBand());
    EXPECT_EQ(1, environment->GetDepthBandLevel());
    EXPECT_FALSE(environment->IsDepthBandEnabled());
    ExpectNear(camera.GetViewMatrix(), environment->GetViewMatrix());
    ExpectNear(camera.GetProjectionMatrix(), environment->GetProjectionMatrix());
    EXPECT_NEAR(5.0f, environment->GetInverseViewMatrix()(3, 2) * -1.0f, 1e-5f);

    camera.SetDepthBandSpread(0.5f);
    camera.SetDepthBandEnabled(true);
    camera.Apply();
    EXPECT_EQ(5, environment->GetDepthBandLevel());
    EXPECT_TRUE(environment->IsDepthBandEnabled());

    camera.ApplyAsLight();
    ExpectNear(camera.GetViewMatrix(), environment->GetLightViewMatrix());

    // Project uses the environment's world, view and projection: the target lands mid-screen.
    Vector3<float> projected;
    camera.Project(projected, Vector3<float>(0, 0, 0));
    EXPECT_NEAR(0.0f, projected.x, 1e-6f);
    EXPECT_NEAR(0.0f, projected.y, 1e-6f);

    // Billboards face the camera: looking along +z, the billboard is the identity.
    Matrix4 billboard;
    camera.GetBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);
    camera.GetYAxisBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);
}

TEST_F(ShaderTest, AViewportIsSetOnlyWhenItHasASize)
{
    korvane::CViewport viewport;
    EXPECT_EQ(0u, viewport.GetWidth());
    EXPECT_EQ(1.0f, viewport.GetAspectFactor());
    viewport.Set(8, 4, 0, 20, 0, 1);
    EXPECT_FALSE(viewport.Apply());
    os::gfx::Viewport set;
    ASSERT_EQ(os::gfx::kOk, device->GetViewport(&set));
    EXPECT_EQ(kWidth, set.Width);

    viewport.Set(8, 4, 32, 16, 0, 1);
    viewport.SetAspectFactor(0.5f);
    EXPECT_TRUE(viewport.Apply());
    ASSERT_EQ(os::gfx::kOk, device->GetViewport(&set));
    EXPECT_EQ((std::vector<std::uint32_t>{8, 4, 32, 16}),
              (std::vector<std::uint32_t>{set.X, set.Y, set.Width, set.Height}));
    EXPECT_EQ(40u, viewport.GetRight());
    EXPECT_EQ(20u, viewport.GetBottom());
    EXPECT_EQ(1.0f, viewport.GetAspect());

    // A rectangle the device refuses is not reported as set.
    viewport.Set(60, 0, 32, 16, 0, 1);
    EXPECT_FALSE(viewport.Apply());
}

} // namespace
} // namespace shadertest
