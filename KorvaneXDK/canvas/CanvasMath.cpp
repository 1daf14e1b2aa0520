/** @file CanvasMath.cpp The canvas's matrix routines and saturating truncation. */
#include "KorvaneXDK/canvas/CanvasMath.h"

#include <cmath>
#include <limits>

namespace korvane::canvas
{

Matrix4 MakeTranslation(float x, float y, float z)
{
    Matrix4 m;
    m.m[3] = x;
    m.m[7] = y;
    m.m[11] = z;
    return m;
}

Matrix4 MakeScaling(float x, float y, float z)
{
    Matrix4 m;
    m.m[0] = x;
    m.m[5] = y;
    m.m[10] = z;
    return m;
}

Matrix4 MakeRotationZ(float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    Matrix4 m;
    m.m[0] = c;
    m.m[1] = -s;
    m.m[4] = s;
    m.m[5] = c;
    return m;
}

Matrix4 MakeRotation(const Vector3<float>& axis, float angle)
{
    const double length = std::sqrt(static_cast<double>(axis.x) * axis.x + static_cast<double>(axis.y) * axis.y +
                                    static_cast<double>(axis.z) * axis.z);
    Matrix4 m;
    if (!(length > 0.0) || !std::isfinite(length)) {
        return m;
    }
    const double x = axis.x / length;
    const double y = axis.y / length;
    const double z = axis.z / length;
    const double c = std::cos(static_cast<double>(angle));
    const double s = std::sin(static_cast<double>(angle));
    const double t = 1.0 - c;
    // R = cI + s[n]x + (1 - c) n n^T.
    const double r[3][3] = {
        {c + t * x * x, t * x * y - s * z, t * x * z + s * y},
        {t * x * y + s * z, c + t * y * y, t * y * z - s * x},
        {t * x * z - s * y, t * y * z + s * x, c + t * z * z},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            m.m[4 * row + column] = static_cast<float>(r[row][column]);
        }
    }
    return m;
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b)
{
    Matrix4 out;
    Matrix4::Multiply(out, a, b);
    return out;
}

Matrix4 Transpose(const Matrix4& m)
{
    Matrix4 out;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            out.m[4 * row + column] = m.m[4 * column + row];
        }
    }
    return out;
}

Vector3<float> TransformPoint(const Matrix4& m, const Vector3<float>& p)
{
    const float* e = m.m;
    return Vector3<float>(e[0] * p.x + e[1] * p.y + e[2] * p.z + e[3], e[4] * p.x + e[5] * p.y + e[6] * p.z + e[7],
                          e[8] * p.x + e[9] * p.y + e[10] * p.z + e[11]);
}

Vector2<float> TransformPoint(const Matrix4& m, const Vector2<float>& p)
{
    const Vector3<float> q = TransformPoint(m, Vector3<float>(p.x, p.y, 0.0f));
    return Vector2<float>(q.x, q.y);
}

std::int32_t SaturateToInt32(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace korvane::canvas
