/** @file ValueTypesTest.cpp The engine's value types: packed colours and the matrix routines. */
#include <cmath>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/PackedColor.h"

namespace
{

using korvane::Color4;
using korvane::Matrix4;
using korvane::PackedColor;

constexpr float kPi = 3.14159265358979f;

TEST(ValueTypesTest, PackedColourClampsAndRoundsEachComponent)
{
    struct Case
    {
        Color4<float> color;
        std::uint32_t argb;
    };
    const Case cases[] = {
        {{0, 0, 1, 1}, 0xFF0000FFu},
        {{1.5f, -0.5f, 0.5f, 1}, 0xFFFF0080u}, // 0.5 x 255 + 0.5 = 128
        {{0.998f, 0.002f, NAN, 0}, 0x00FE0100u},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.argb, PackedColor(c.color).argb);
    }
    const PackedColor blue = 0xFF0000FFu;
    EXPECT_EQ(255u, blue.GetBlue());
    EXPECT_EQ(0u, blue.GetRed());
}

TEST(ValueTypesTest, MatrixRoutinesRotateScaleAndMultiplyAsRowVectors)
{
    Matrix4 rotation;
    rotation.SetRotationZ(kPi / 2);
    // (1, 0, 0) x M = first row: (cos, -sin, 0).
    EXPECT_NEAR(0.0f, rotation(0, 0), 1e-6f);
    EXPECT_NEAR(-1.0f, rotation(0, 1), 1e-6f);
    EXPECT_EQ(1.0f, rotation(2, 2));
    EXPECT_EQ(0.0f, rotation(3, 0));

    // Rotation x 5 with a translation; Scale(3) keeps the rotation at scale 3 and the translation.
    Matrix4 scaled = rotation;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            scaled(r, c) *= 5.0f;
        }
    }
    scaled(3, 0) = 7.0f;
    scaled(3, 1) = 8.0f;
    EXPECT_NEAR(5.0f, scaled.GetUniformScale(nullptr, nullptr), 1e-5f);
    scaled.Scale(3.0f);
    for (int i = 0; i < 12; ++i) {
        if (i % 4 != 3) {
            EXPECT_NEAR(rotation.m[i] * 3.0f, scaled.m[i], 1e-5f) << i;
        }
    }
    EXPECT_EQ(7.0f, scaled(3, 0));
    EXPECT_EQ(8.0f, scaled(3, 1));

    // A zero column (a scale of 0) stays zero instead of turning into NaN.
    Matrix4 flat;
    flat(0, 0) = 0.0f;
    float rows[9];
    Matrix4 normalized;
    EXPECT_NEAR(std::sqrt(2.0f / 3.0f), flat.GetUniformScale(rows, &normalized), 1e-6f);
    EXPECT_EQ(0.0f, rows[0]);
    EXPECT_EQ(0.0f, normalized(0, 0));
    flat.Scale(2.0f);
    EXPECT_EQ(0.0f, flat(0, 0));
    EXPECT_EQ(2.0f, flat(1, 1));

    // a x b with a translation: the translation comes last for row vectors; out may alias.
    Matrix4 move;
    move(3, 0) = 1.0f;
    const Matrix4 product = rotation * move;
    EXPECT_NEAR(1.0f, product(3, 0), 1e-6f);
    Matrix4::Multiply(move, rotation, move);
    EXPECT_EQ(product.m[12], move.m[12]);
    EXPECT_NEAR(-1.0f, move(0, 1), 1e-6f);
}

} // namespace
