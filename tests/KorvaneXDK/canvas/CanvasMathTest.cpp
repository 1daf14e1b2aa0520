/** @file CanvasMathTest.cpp The canvas matrix convention and the saturating truncation. */
#include <limits>

#include "CanvasTestSupport.h"

namespace canvastest
{

TEST(CanvasMathTest, SaturatingTruncationAndMatricesMappingColumnVectors)
{
    const double inf = std::numeric_limits<double>::infinity();
    // One value per branch and each side of the limits, and what each gives.
    std::vector<std::int32_t> got;
    for (double in : {std::nan(""), inf, -inf, 2147483647.5, -2147483648.7, -2147483647.5, 2.9, -2.9})
        got.push_back(SaturateToInt32(in));
    EXPECT_EQ(got, (std::vector<std::int32_t>{0, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MIN, -2147483647, 2, -2}));

    // Matrices map column vectors.
    const float pi = 3.14159265f;
    const auto near = [](Vector3<float> expected, Vector3<float> actual) {
        EXPECT_THAT((std::vector<float>{actual.x, actual.y, actual.z}),
                    ::testing::Pointwise(::testing::FloatNear(1e-5f), {expected.x, expected.y, expected.z}));
    };
    // Translation in elements 3, 7, 11; the right factor acts first.
    const Matrix4 t = MakeTranslation(10, 20, 30);
    EXPECT_EQ(std::pair(10.0f, 30.0f), std::pair(t.m[3], t.m[11]));
    near({12, 22, 30}, TransformPoint(Multiply(t, MakeScaling(2, 2)), Vector3<float>(1, 1, 0)));
    near({12, 2, 0}, TransformPoint(Multiply(MakeTranslation(10, 0), MakeScaling(2, 2)), Vector3<float>(1, 1, 0)));
    // Rz turns +x toward +y (clockwise on screen), like the engine's SetRotationZ.
    near({0, 1, 0}, TransformPoint(MakeRotationZ(pi / 2), Vector3<float>(1, 0, 0)));
    Matrix4 engine;
    engine.SetRotationZ(0.7f);
    ExpectMatrix(engine, MakeRotationZ(0.7f));
    ExpectMatrix(MakeRotationZ(0.7f), MakeRotation({0, 0, 5}, 0.7f));
    // About y, +x turns to -z; the axis is normalised, and a zero axis is no turn.
    near({0, 0, -1}, TransformPoint(MakeRotation({0, 3, 0}, pi / 2), Vector3<float>(1, 0, 0)));
    near({1, 2, 3}, TransformPoint(MakeRotation({0, 0, 0}, 1.0f), Vector3<float>(1, 2, 3)));
    // A turn about a point keeps the point.
    const Matrix4 about = Multiply(Multiply(MakeTranslation(50, 40), MakeRotationZ(1.1f)), MakeTranslation(-50, -40));
    near({50, 40, 0}, TransformPoint(about, Vector3<float>(50, 40, 0)));
}

} // namespace canvastest
