/** @file CanvasMath.h The canvas's matrix convention and its saturating float-to-integer conversion:
 * the routines every part of the toolkit builds its transforms and whole-pixel positions with. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/core/Vector3.h"

namespace korvane::canvas
{

// The canvas convention: a Matrix4 holds its elements row-major (element (r, c) at index
// 4r + c) and maps COLUMN vectors, p' = M * p. A translation sits in elements 3, 7 and 11;
// A * B applies B first; a turn or scale about a point p is T(p) * A * T(-p). The canvas
// sends Transpose(top) to the shaders as "World", which is how the engine's row-vector
// Matrix4 routines and the shaders see the same transform.

/// T(x, y, z).
Matrix4 MakeTranslation(float x, float y, float z = 0.0f);
/// S(x, y, z).
Matrix4 MakeScaling(float x, float y, float z = 1.0f);
/// Rz(angle): (1, 0) turns toward (cos, sin), i.e. clockwise on a screen whose y grows down.
Matrix4 MakeRotationZ(float angle);
/// Rodrigues' rotation R(n, angle) about the axis n (normalised here; a zero axis gives the
/// identity), right-handed in the column convention.
Matrix4 MakeRotation(const Vector3<float>& axis, float angle);
/// a * b (b acts first).
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);
Matrix4 Transpose(const Matrix4& m);
/// M * (x, y, z, 1), without the perspective divide.
Vector3<float> TransformPoint(const Matrix4& m, const Vector3<float>& p);
Vector2<float> TransformPoint(const Matrix4& m, const Vector2<float>& p);

/// Truncation toward zero that never overflows: NaN gives 0, values beyond the int32 range
/// give its ends. Every float taken to an integer by the toolkit goes through it, because
/// definition files may hold "nan", "inf" or "1e30".
std::int32_t SaturateToInt32(double value);

} // namespace korvane::canvas
