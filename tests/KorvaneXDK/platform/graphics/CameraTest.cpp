/** @file CameraTest.cpp The camera, its clippers and the viewport against hand-computed values. */
#include <cmath>
#include <limits>

#include <gmock/gmock.h>

#include "GraphicsTestSupport.h"
#include "KorvaneXDK/platform/graphics/Camera.h"
#include "KorvaneXDK/platform/graphics/OrthoViewClipper.h"
#include "KorvaneXDK/platform/graphics/ViewFrustumClipper.h"
#include "KorvaneXDK/platform/graphics/Viewport.h"

namespace
{

using namespace graphicstest;
using korvane::CCamera;
using korvane::Matrix4;
using korvane::Vector3;

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

TEST(CameraTest, ViewsFromTargetAnglesAndMatricesProjectionsKeepTheirModeAndClippersTestSpheres)
{
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetLookAt(Vector3<float>(0, 0, 0));
    const Matrix4 expected = With({{3, 2, 5.0f}}); // looking along +z from z = -5
    ExpectNear(expected, camera.GetViewMatrix());

    // Angles: yaw pi/2 with pitch 0 looks along +x.
    camera.SetEye(0, 0, 0);
    camera.SetAngles(0, kPi / 2);
    camera.GetViewMatrix();
    ExpectNear({1, 0}, {camera.GetTarget().x, camera.GetTarget().z});

    // Scale 2 doubles the first three columns, translation included; the offset moves the scene.
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
    camera.SetPreMatrix(Matrix4());

    // An explicit matrix gives back eye and target.
    camera.SetViewMatrix(expected);
    ExpectNear(expected, camera.GetViewMatrix());
    ExpectNear({-5, -4}, {camera.GetEye().z, camera.GetTarget().z});

    // Up from yaw, pitch and roll: a roll of pi/2 lays up along -x.
    camera.SetUpFromYawPitchRoll(0, 0, kPi / 2);
    camera.SetTarget(0, 0, 0);
    camera.SetEye(0, 0, -5);
    EXPECT_NEAR(-1.0f, camera.GetViewMatrix()(0, 1), 1e-5f);

    // Projections keep their mode and clipper and refuse the field of view outside perspective.
    CCamera projecting;
    EXPECT_EQ(0, projecting.GetProjectionMode());
    projecting.SetOrtho(448, 288, 0, 1);
    EXPECT_EQ(1, projecting.GetProjectionMode());
    auto* ortho = dynamic_cast<korvane::COrthoViewClipper*>(projecting.GetClipper().get());
    ASSERT_NE(nullptr, ortho);
    EXPECT_EQ((Floats{-224, 224, -144, 144}),
              (Floats{ortho->GetLeft(), ortho->GetRight(), ortho->GetBottom(), ortho->GetTop()}));

    projecting.SetOrthoOffCenter(0, 640, 480, 0, 0, 1);
    EXPECT_EQ(3, projecting.GetProjectionMode());
    korvane::test::ExpectThrowWith<korvane::EInvalidOperation>(
        [&] { projecting.GetFov(); }, "GetFov(): Projection Mode must be PERSPEVTIVE", "class korvane::CCamera");
    EXPECT_THROW(projecting.GetAspect(), korvane::EInvalidOperation);

    projecting.SetPerspectiveOffCenter(-1, 1, -1, 1, 1, 100);
    EXPECT_EQ(2, projecting.GetProjectionMode());
    EXPECT_NE(nullptr, dynamic_cast<korvane::CViewFrustumClipper*>(projecting.GetClipper().get()));
    projecting.SetPerspective(1.0f, 2.0f, 5, 50);
    EXPECT_EQ(1.0f, projecting.GetFov());

    // Clippers test spheres against their planes.
    korvane::CViewFrustumClipper frustum(kPi / 2, 1.0f, 10, 100);
    korvane::CViewFrustumClipper offCentre(0, 2, -1, 1, 1, 10); // edges at x = 0 and 2 on the near plane at 1
    korvane::COrthoViewClipper orthoClipper(-224, 224, -144, 144, 0, 1);
    const std::tuple<const char*, korvane::ICameraViewClipper*, Vector3<float>, float, bool> cases[] = {
        {"on the axis", &frustum, {0, 0, 50}, 1, true},
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
    for (const auto& [what, clipper, center, radius, visible] : cases) {
        EXPECT_EQ(visible, clipper->IsSphereVisible(center, radius)) << what;
    }
    // Field of view pi/2, aspect 1: the side planes lean at 45 degrees.
    ExpectNear({std::sqrt(0.5f), std::sqrt(0.5f), -10, 100},
               {frustum.GetLeftPlane().a, frustum.GetLeftPlane().c, frustum.GetNearPlane().d, frustum.GetFarPlane().d});
}

using CameraShaderTest = ShaderTest;

TEST_F(CameraShaderTest, ApplyWritesViewProjectionAndTheDepthBandAndAViewportIsSetOnlyWhenItHasASize)
{
    CCamera camera;
    camera.SetEye(0, 0, -5);
    camera.SetTarget(0, 0, 0);
    camera.Apply();
    EXPECT_EQ((std::array<float, 4>{1100, 1400, 200, 500}), environment->GetDepthBand());
    EXPECT_EQ(std::make_pair(1, false),
              std::make_pair(environment->GetDepthBandLevel(), environment->IsDepthBandEnabled()));
    ExpectNear(camera.GetViewMatrix(), environment->GetViewMatrix());
    ExpectNear(camera.GetProjectionMatrix(), environment->GetProjectionMatrix());
    EXPECT_NEAR(5.0f, environment->GetInverseViewMatrix()(3, 2) * -1.0f, 1e-5f);

    camera.SetDepthBandEnabled(true);
    camera.Apply();
    EXPECT_TRUE(environment->IsDepthBandEnabled());
    camera.ApplyAsLight();
    ExpectNear(camera.GetViewMatrix(), environment->GetLightViewMatrix());

    // Project uses the environment's world, view and projection: the target lands mid-screen.
    Vector3<float> projected;
    camera.Project(projected, Vector3<float>(0, 0, 0));
    ExpectNear({0, 0}, {projected.x, projected.y});

    // Billboards face the camera: looking along +z, the billboard is the identity.
    Matrix4 billboard;
    camera.GetBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);
    camera.GetYAxisBillboardMatrix(billboard);
    ExpectNear(Matrix4(), billboard);

    // The depth-band level is the integer part of max(5.5 - spread, 1) for every spread the camera
    // holds, those whose level lies beyond the 32-bit range and a NaN included.
    const std::pair<float, std::int32_t> cases[] = {{4.0f, 1},
                                                    {0.5f, 5},
                                                    {-100.0f, 105},
                                                    {-1.0e10f, std::numeric_limits<std::int32_t>::max()},
                                                    {std::numeric_limits<float>::quiet_NaN(), 1},
                                                    {std::numeric_limits<float>::infinity(), 1}};
    for (const auto& [spread, level] : cases) {
        camera.SetDepthBandSpread(spread);
        camera.Apply();
        EXPECT_EQ(level, environment->GetDepthBandLevel()) << "spread " << spread;
    }

    korvane::CViewport viewport;
    EXPECT_EQ(std::make_pair(0u, 1.0f), std::make_pair(viewport.GetWidth(), viewport.GetAspectFactor()));
    viewport.Set(8, 4, 0, 20, 0, 1);
    EXPECT_FALSE(viewport.Apply());
    os::gfx::Viewport set;
    ASSERT_EQ(os::gfx::kOk, device->GetViewport(&set));
    EXPECT_EQ(kWidth, set.Width);

    viewport.Set(8, 4, 32, 16, 0, 1);
    viewport.SetAspectFactor(0.5f);
    EXPECT_TRUE(viewport.Apply());
    ASSERT_EQ(os::gfx::kOk, device->GetViewport(&set));
    EXPECT_EQ(
        (std::vector<std::uint32_t>{8, 4, 32, 16, 40, 20}),
        (std::vector<std::uint32_t>{set.X, set.Y, set.Width, set.Height, viewport.GetRight(), viewport.GetBottom()}));
    EXPECT_EQ(1.0f, viewport.GetAspect());
    viewport.Set(60, 0, 32, 16, 0, 1); // a rectangle the device refuses is not reported as set
    EXPECT_FALSE(viewport.Apply());
}

} // namespace
