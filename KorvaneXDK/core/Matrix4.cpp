/** @file Matrix4.cpp The engine's own matrix routines. */
#include "KorvaneXDK/core/Matrix4.h"

#include <cmath>

namespace korvane
{

void Matrix4::Multiply(Matrix4& out, const Matrix4& a, const Matrix4& b)
{
    os::gfx::MatrixMultiply(&out, &a, &b);
}

Matrix4 Matrix4::operator*(const Matrix4& other) const
{
    Matrix4 result;
    Multiply(result, *this, other);
    return result;
}

void Matrix4::SetRotationZ(float angle)
{
    const auto c = static_cast<float>(std::cos(static_cast<double>(angle)));
    const auto s = static_cast<float>(std::sin(static_cast<double>(angle)));
    for (float& value : m) {
        value = 0.0f;
    }
    m[0] = c;
    m[1] = -s;
    m[4] = s;
    m[5] = c;
    m[10] = 1.0f;
    m[15] = 1.0f;
}

float Matrix4::GetUniformScale(float* outRotation, Matrix4* outNormalized) const
{
    float sum = 0.0f;
    float lengths[3];
    for (int column = 0; column < 3; ++column) {
        float squares = 0.0f;
        for (int row = 0; row < 3; ++row) {
            squares += m[4 * row + column] * m[4 * row + column];
        }
        sum += squares;
        lengths[column] = std::sqrt(squares);
    }
    float normalized[9];
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const float value = m[4 * row + column];
            // A column of length zero (a scale of 0) has no direction: it stays zero, not NaN.
            normalized[3 * row + column] = lengths[column] != 0.0f ? value / lengths[column] : value;
        }
    }
    if (outRotation != nullptr) {
        for (int i = 0; i < 9; ++i) {
            outRotation[i] = normalized[i];
        }
    }
    if (outNormalized != nullptr) {
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                outNormalized->m[4 * row + column] = normalized[3 * row + column];
            }
        }
    }
    return std::sqrt(sum / 3.0f);
}

void Matrix4::Scale(float factor)
{
    GetUniformScale(nullptr, this);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            m[4 * row + column] *= factor;
        }
    }
}

} // namespace korvane
