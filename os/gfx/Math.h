/** @file Math.h The extension library's matrix, vector and plane routines: row vectors, left-handed. */
#pragma once

#include <cstdint>

namespace os::gfx
{

/// Sixteen floats, row-major: element (r, c) at index 4r + c. Points are row vectors
/// (p' = p x M) and the translation lies in row 3. A new matrix is the identity.
struct Matrix
{
    float m[16] = {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f};

    float& operator()(int row, int column) { return m[4 * row + column]; }
    float operator()(int row, int column) const { return m[4 * row + column]; }
};

struct Vector2
{
    float x = 0.0f;
    float y = 0.0f;
};

struct Vector3
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct Vector4
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 0.0f;
};

/// The points p with a * p.x + b * p.y + c * p.z + d = 0.
struct Plane
{
    float a = 0.0f;
    float b = 0.0f;
    float c = 0.0f;
    float d = 0.0f;
};

// Every routine returns its output argument (or null, see MatrixInverse) and lets the output
// be one of the inputs.

Matrix* MatrixIdentity(Matrix* out);
/// out = a x b.
Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b);
Matrix* MatrixTranspose(Matrix* out, const Matrix* m);
/// Null for a singular matrix, leaving `out` and `determinant` untouched.
Matrix* MatrixInverse(Matrix* out, float* determinant, const Matrix* m);
Matrix* MatrixTranslation(Matrix* out, float x, float y, float z);
Matrix* MatrixScaling(Matrix* out, float x, float y, float z);
/// m00 = cos, m01 = sin, m10 = -sin, m11 = cos.
Matrix* MatrixRotationZ(Matrix* out, float angle);
/// Roll about z, then pitch about x, then yaw about y.
Matrix* MatrixRotationYawPitchRoll(Matrix* out, float yaw, float pitch, float roll);
/// A view looking from eye at `at`. Coinciding eye and target, or an up vector along the view
/// direction, give zero axes rather than NaN (zero vectors normalise to zero).
Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up);
Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovY, float aspect, float zNear, float zFar);
Matrix* MatrixOrthoLH(Matrix* out, float width, float height, float zNear, float zFar);
Matrix* MatrixOrthoOffCenterLH(Matrix* out, float left, float right, float bottom, float top, float zNear, float zFar);
Matrix* MatrixPerspectiveOffCenterLH(Matrix* out, float left, float right, float bottom, float top, float zNear,
                                     float zFar);

/// (v, 1) x m, divided by the resulting w (unless it is 0).
Vector3* Vec3TransformCoord(Vector3* out, const Vector3* v, const Matrix* m);
/// v x the 3 x 3 part of m.
Vector3* Vec3TransformNormal(Vector3* out, const Vector3* v, const Matrix* m);
/// A zero vector stays zero.
Vector3* Vec3Normalize(Vector3* out, const Vector3* v);
Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b);
float Vec3Dot(const Vector3* a, const Vector3* b);
float Vec3Length(const Vector3* v);
/// The plane through the point with the given normal: (a, b, c) = n, d = -p . n.
Plane* PlaneFromPointNormal(Plane* out, const Vector3* point, const Vector3* normal);
/// a * x + b * y + c * z + d.
float PlaneDotCoord(const Plane* plane, const Vector3* v);

} // namespace os::gfx
