/** @file Matrix4.h The engine's 4 x 4 matrix: the platform's matrix with the engine's own routines. */
#pragma once

#include "os/gfx/Math.h"

namespace korvane
{

/// Sixteen floats, row-major, element (r, c) at index 4r + c; points are row vectors
/// (p' = p x M), the translation lies in row 3. The layout is the platform's, so a Matrix4
/// goes to the platform's routines as it is. A new matrix is the identity.
class Matrix4 : public os::gfx::Matrix
{
public:
    constexpr Matrix4() = default;
    constexpr Matrix4(const os::gfx::Matrix& other) : os::gfx::Matrix(other) {}

    /// out = a x b; a and b are read whole before out is written, so out may be either.
    static void Multiply(Matrix4& out, const Matrix4& a, const Matrix4& b);
    /// this x other.
    Matrix4 operator*(const Matrix4& other) const;
    /// The rotation turning (1, 0, 0) into (cos, -sin, 0): the transpose of the platform's
    /// rotation about z for the same angle.
    void SetRotationZ(float angle);
    /// The mean scale of the 3 x 3 part, sqrt(sum of its nine squares / 3). outRotation (nine
    /// floats, row by row) receives the 3 x 3 part with each column divided by its length;
    /// outNormalized receives the same in its 3 x 3 part, its other elements untouched. A
    /// column of length zero stays zero. Either output may be null, or this matrix.
    float GetUniformScale(float* outRotation, Matrix4* outNormalized) const;
    /// Keeps the rotation of the 3 x 3 part and gives it the uniform scale `factor`; row 3 and
    /// column 3 are untouched.
    void Scale(float factor);
};

} // namespace korvane
