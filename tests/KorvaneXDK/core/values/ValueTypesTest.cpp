/** @file ValueTypesTest.cpp The engine's value types: packed colours and the matrix routines. */
#include <cmath>

#include <gtest/gtest.h>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/PackedColor.h"

using namespace korvane;

constexpr float kPi = 3.14159265358979f;

TEST(ValueTypesTest, PackedColourClampsAndRoundsAndMatrixRoutinesScaleAndMultiplyAsRowVectors)
{
    // 0.5 x 255 + 0.5 = 128
    EXPECT_EQ((std::vector<std::uint32_t>{PackedColor(Color4<float>{0, 0, 1, 1}).argb,
                                          PackedColor(Color4<float>{1.5f, -0.5f, 0.5f, 1}).argb,
                                          PackedColor(Color4<float>{0.998f, 0.002f, NAN, 0}).argb}),
              (std::vector<std::uint32_t>{0xFF0000FFu, 0xFFFF0080u, 0x00FE0100u}));
    const PackedColor blue = 0xFF0000FFu;
    EXPECT_EQ(std::pair(255u, 0u), std::pair(blue.GetBlue(), blue.GetRed()));
    // The matrix routines work on row vectors.
    Matrix4 rotation;
    // Its elements are compared with the canvas maths' rotation in CanvasTest; here the accessor's
    // row and column: (1, 0, 0) x M = first row = (cos, -sin, 0).
    rotation.SetRotationZ(kPi / 2);
    EXPECT_NEAR(-1.0f, rotation(0, 1), 1e-6f);

    // Rotation x 5 with a translation; Scale(3) keeps the rotation at scale 3 and the translation.
    Matrix4 scaled = rotation;
    for (int i = 0; i < 9; ++i)
        scaled(i / 3, i % 3) *= 5.0f;
    scaled(3, 0) = 7.0f;
    scaled(3, 1) = 8.0f;
    EXPECT_NEAR(5.0f, scaled.GetUniformScale(nullptr, nullptr), 1e-5f);
    scaled.Scale(3.0f);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(rotation(i / 3, i % 3) * 3.0f, scaled(i / 3, i % 3), 1e-5f) << i;
    EXPECT_EQ(std::pair(7.0f, 8.0f), std::pair(scaled(3, 0), scaled(3, 1)));

    // A zero column (a scale of 0) stays zero instead of turning into NaN.
    Matrix4 flat;
    flat(0, 0) = 0.0f;
    float rows[9];
    Matrix4 normalized;
    EXPECT_NEAR(std::sqrt(2.0f / 3.0f), flat.GetUniformScale(rows, &normalized), 1e-6f);
    flat.Scale(2.0f);
    EXPECT_EQ((std::vector<float>{rows[0], normalized(0, 0), flat(0, 0), flat(1, 1)}),
              (std::vector<float>{0, 0, 0, 2}));

    // a x b with a translation: the translation comes last for row vectors; out may alias.
    Matrix4 move;
    move(3, 0) = 1.0f;
    const Matrix4 product = rotation * move;
    EXPECT_NEAR(1.0f, product(3, 0), 1e-6f);
    Matrix4::Multiply(move, rotation, move);
    EXPECT_EQ(product.m[12], move.m[12]);
    EXPECT_NEAR(-1.0f, move(0, 1), 1e-6f);
}
