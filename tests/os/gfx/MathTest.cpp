/** @file MathTest.cpp The extension library's matrix, vector and plane routines against hand-computed values. */
#include <algorithm>
#include <array>
#include <cmath>

#include <gmock/gmock.h>

#include "os/gfx/Math.h"

namespace gfxtest
{
namespace
{

using os::gfx::Matrix;
using os::gfx::Vector3;

constexpr float kPi = 3.14159265358979f;

void ExpectMatrix(const Matrix& m, std::initializer_list<float> rows)
{
    EXPECT_THAT(m.m, ::testing::Pointwise(::testing::FloatNear(1e-5f), std::vector<float>(rows)));
}

void ExpectVector(const Vector3& expected, const Vector3& got, float tolerance = 1e-5f)
{
    EXPECT_THAT((std::array{got.x, got.y, got.z}),
                ::testing::Pointwise(::testing::FloatNear(tolerance), {expected.x, expected.y, expected.z}));
}

TEST(MathTest, LookAtProjectionsInverseRotationAndPlanesAgainstHandComputedValues)
{
    // Eye, target, up, a point and where the view puts it; looking from z = -5 is the camera tests'.
    for (const auto& [eye, at, up, point, expected] :
         {std::array<Vector3, 5>{{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}, {0, 0, 2}}}, // looking along +x
          {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}}},                      // +z lies to the left
          {{{1, 2, 3}, {1, 2, 4}, {0, 1, 0}, {1, 3, 3}, {0, 1, 0}}}}) {                    // up stays up
        Matrix view;
        Vector3 got;
        os::gfx::MatrixLookAtLH(&view, &eye, &at, &up);
        ExpectVector(expected, *os::gfx::Vec3TransformCoord(&got, &point, &view));
    }
    // Degenerate input (eye on the target, up along the view) gives zero axes, never NaN.
    const Vector3 same{1, 1, 1}, up{0, 1, 0}, above{1, 5, 1};
    for (const Vector3* at : {&same, &above}) {
        Matrix view;
        os::gfx::MatrixLookAtLH(&view, &same, at, &up);
        EXPECT_TRUE(std::none_of(std::begin(view.m), std::end(view.m), [](float v) { return std::isnan(v); }));
    }

    // Projections match their formulas.
    Matrix m;
    os::gfx::MatrixPerspectiveFovLH(&m, kPi / 2, 2.0f, 1.0f, 101.0f);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0});
    os::gfx::MatrixOrthoLH(&m, 448, 288, 0, 1);
    ExpectMatrix(m, {2.0f / 448, 0, 0, 0, 0, 2.0f / 288, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    os::gfx::MatrixPerspectiveOffCenterLH(&m, -1, 3, -2, 2, 1, 11);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, -0.5f, 0, 1.1f, 1, 0, 0, -1.1f, 0});

    // Inverse, rotation, normalisation and planes.
    Matrix translation, inverse, singular, rotation;
    os::gfx::MatrixTranslation(&translation, 1, 2, 3);
    float determinant = 0;
    ASSERT_NE(nullptr, os::gfx::MatrixInverse(&inverse, &determinant, &translation));
    EXPECT_FLOAT_EQ(1.0f, determinant);
    ExpectMatrix(inverse, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1});

    // A singular matrix fails and leaves the output as it was.
    os::gfx::MatrixScaling(&singular, 0, 1, 1);
    EXPECT_EQ(nullptr, os::gfx::MatrixInverse(&inverse, nullptr, &singular));
    EXPECT_FLOAT_EQ(-1.0f, inverse.m[12]);

    // Yaw turns +z towards +x; the z rotation puts sin in element (0, 1).
    os::gfx::MatrixRotationYawPitchRoll(&rotation, kPi / 2, 0, 0);
    Vector3 turned;
    const Vector3 forward{0, 0, 1};
    ExpectVector({1, 0, 0}, *os::gfx::Vec3TransformNormal(&turned, &forward, &rotation), 1e-6f);
    os::gfx::MatrixRotationZ(&rotation, kPi / 2);
    EXPECT_NEAR(1.0f, rotation(0, 1), 1e-6f);

    Vector3 zero;
    os::gfx::Vec3Normalize(&zero, &zero);
    EXPECT_EQ(0.0f, zero.x + zero.y + zero.z);
    os::gfx::Plane plane;
    const Vector3 point{0, 0, 2}, probe{5, 5, 3};
    os::gfx::PlaneFromPointNormal(&plane, &point, &forward);
    EXPECT_FLOAT_EQ(1.0f, os::gfx::PlaneDotCoord(&plane, &probe));
}

} // namespace
} // namespace gfxtest
