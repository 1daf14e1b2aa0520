/** @file MathTest.cpp The extension library's matrix, vector and plane routines against hand-computed values. */
#include <cmath>

#include <gtest/gtest.h>

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
    int i = 0;
    for (float expected : rows) {
        EXPECT_NEAR(expected, m.m[i], 1e-5f) << "element " << i;
        ++i;
    }
}

Vector3 Transform(const Vector3& v, const Matrix& m)
{
    Vector3 out;
    os::gfx::Vec3TransformCoord(&out, &v, &m);
    return out;
}

TEST(MathTest, LookAtTurnsTheViewDirectionIntoPlusZ)
{
    struct Case
    {
        Vector3 eye, at, up, point, expected;
    };
    const Case cases[] = {
        {{0, 0, -5}, {0, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 5}},
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {2, 0, 0}, {0, 0, 2}},  // looking along +x
        {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}}, // +z lies to the left
        {{1, 2, 3}, {1, 2, 4}, {0, 1, 0}, {1, 3, 3}, {0, 1, 0}},  // up stays up
    };
    for (const Case& c : cases) {
        Matrix view;
        os::gfx::MatrixLookAtLH(&view, &c.eye, &c.at, &c.up);
        const Vector3 got = Transform(c.point, view);
        EXPECT_NEAR(c.expected.x, got.x, 1e-5f);
        EXPECT_NEAR(c.expected.y, got.y, 1e-5f);
        EXPECT_NEAR(c.expected.z, got.z, 1e-5f);
    }
    // Degenerate input (eye on the target, up along the view) gives zero axes, never NaN.
    const Vector3 same{1, 1, 1};
    const Vector3 up{0, 1, 0};
    const Vector3 above{1, 5, 1};
    for (const Vector3* at : {&same, &above}) {
        Matrix view;
        os::gfx::MatrixLookAtLH(&view, &same, at, &up);
        for (float value : view.m) {
            EXPECT_FALSE(std::isnan(value));
        }
    }
}

TEST(MathTest, ProjectionsMatchTheirFormulas)
{
    Matrix m;
    os::gfx::MatrixPerspectiveFovLH(&m, kPi / 2, 2.0f, 1.0f, 101.0f);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0});
    os::gfx::MatrixOrthoLH(&m, 448, 288, 0, 1);
    ExpectMatrix(m, {2.0f / 448, 0, 0, 0, 0, 2.0f / 288, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
    // The canvas's screen projection: (0, 0) top-left, (640, 480) bottom-right.
    os::gfx::MatrixOrthoOffCenterLH(&m, 0, 640, 480, 0, 0, 1);
    ExpectMatrix(m, {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1});
    os::gfx::MatrixPerspectiveOffCenterLH(&m, -1, 3, -2, 2, 1, 11);
    ExpectMatrix(m, {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, -0.5f, 0, 1.1f, 1, 0, 0, -1.1f, 0});
}

TEST(MathTest, InverseRotationAndNormalisation)
{
    Matrix translation;
    os::gfx::MatrixTranslation(&translation, 1, 2, 3);
    Matrix inverse;
    float determinant = 0;
    ASSERT_NE(nullptr, os::gfx::MatrixInverse(&inverse, &determinant, &translation));
    EXPECT_FLOAT_EQ(1.0f, determinant);
    ExpectMatrix(inverse, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, -1, -2, -3, 1});

    // A singular matrix fails and leaves the output as it was.
    Matrix singular;
    os::gfx::MatrixScaling(&singular, 0, 1, 1);
    EXPECT_EQ(nullptr, os::gfx::MatrixInverse(&inverse, nullptr, &singular));
    EXPECT_FLOAT_EQ(-1.0f, inverse.m[12]);

    // Yaw turns +z towards +x; the z rotation puts sin in element (0, 1).
    Matrix rotation;
    os::gfx::MatrixRotationYawPitchRoll(&rotation, kPi / 2, 0, 0);
    Vector3 turned;
    const Vector3 forward{0, 0, 1};
    os::gfx::Vec3TransformNormal(&turned, &forward, &rotation);
    EXPECT_NEAR(1.0f, turned.x, 1e-6f);
    EXPECT_NEAR(0.0f, turned.z, 1e-6f);
    os::gfx::MatrixRotationZ(&rotation, kPi / 2);
    EXPECT_NEAR(1.0f, rotation(0, 1), 1e-6f);

    Vector3 zero;
    os::gfx::Vec3Normalize(&zero, &zero);
    EXPECT_EQ(0.0f, zero.x + zero.y + zero.z);
    os::gfx::Plane plane;
    const Vector3 point{0, 0, 2};
    os::gfx::PlaneFromPointNormal(&plane, &point, &forward);
    const Vector3 probe{5, 5, 3};
    EXPECT_FLOAT_EQ(1.0f, os::gfx::PlaneDotCoord(&plane, &probe));
}

} // namespace
} // namespace gfxtest
