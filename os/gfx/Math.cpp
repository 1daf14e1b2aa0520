/** @file Math.cpp The extension library's matrix, vector and plane routines. */
#include "os/gfx/Math.h"

#include <cmath>

namespace os::gfx
{

namespace
{

Matrix Rows(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13, float m20,
            float m21, float m22, float m23, float m30, float m31, float m32, float m33)
{
    Matrix r;
    const float v[16] = {m00, m01, m02, m03, m10, m11, m12, m13, m20, m21, m22, m23, m30, m31, m32, m33};
    for (int i = 0; i < 16; ++i) {
        r.m[i] = v[i];
    }
    return r;
}

} // namespace

Matrix* MatrixIdentity(Matrix* out)
{
    *out = Matrix();
    return out;
}

Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b)
{
    Matrix r;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += (*a)(row, k) * (*b)(k, column);
            }
            r(row, column) = sum;
        }
    }
    *out = r;
    return out;
}

Matrix* MatrixTranspose(Matrix* out, const Matrix* m)
{
    Matrix r;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            r(row, column) = (*m)(column, row);
        }
    }
    *out = r;
    return out;
}

Matrix* MatrixInverse(Matrix* out, float* determinant, const Matrix* m)
{
    // Cofactors in double precision; the adjugate divided by the determinant.
    double a[16];
    for (int i = 0; i < 16; ++i) {
        a[i] = m->m[i];
    }
    double inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] + a[9] * a[7] * a[14] +
             a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] - a[8] * a[7] * a[14] -
             a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] + a[8] * a[7] * a[13] +
             a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] - a[8] * a[6] * a[13] -
              a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] - a[9] * a[3] * a[14] -
             a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] + a[8] * a[3] * a[14] +
             a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] - a[8] * a[3] * a[13] -
             a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] + a[8] * a[2] * a[13] +
              a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] + a[5] * a[3] * a[14] +
             a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] - a[4] * a[3] * a[14] -
             a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] + a[4] * a[3] * a[13] +
              a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] - a[4] * a[2] * a[13] -
              a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] - a[5] * a[3] * a[10] -
             a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] + a[4] * a[3] * a[10] +
             a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] - a[4] * a[3] * a[9] -
              a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] + a[4] * a[2] * a[9] + a[8] * a[1] * a[6] -
              a[8] * a[2] * a[5];
    const double det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    if (det == 0.0 || !std::isfinite(det)) {
        return nullptr;
    }
    for (int i = 0; i < 16; ++i) {
        out->m[i] = static_cast<float>(inv[i] / det);
    }
    if (determinant != nullptr) {
        *determinant = static_cast<float>(det);
    }
    return out;
}

Matrix* MatrixTranslation(Matrix* out, float x, float y, float z)
{
    *out = Rows(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1);
    return out;
}

Matrix* MatrixScaling(Matrix* out, float x, float y, float z)
{
    *out = Rows(x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1);
    return out;
}

Matrix* MatrixRotationZ(Matrix* out, float angle)
{
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    *out = Rows(c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    return out;
}

Matrix* MatrixRotationYawPitchRoll(Matrix* out, float yaw, float pitch, float roll)
{
    const float cr = std::cos(roll), sr = std::sin(roll);
    const float cp = std::cos(pitch), sp = std::sin(pitch);
    const float cy = std::cos(yaw), sy = std::sin(yaw);
    const Matrix z = Rows(cr, sr, 0, 0, -sr, cr, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    const Matrix x = Rows(1, 0, 0, 0, 0, cp, sp, 0, 0, -sp, cp, 0, 0, 0, 0, 1);
    const Matrix y = Rows(cy, 0, -sy, 0, 0, 1, 0, 0, sy, 0, cy, 0, 0, 0, 0, 1);
    Matrix r;
    MatrixMultiply(&r, &z, &x);
    MatrixMultiply(out, &r, &y);
    return out;
}

Matrix* MatrixLookAtLH(Matrix* out, const Vector3* eye, const Vector3* at, const Vector3* up)
{
    Vector3 z{at->x - eye->x, at->y - eye->y, at->z - eye->z};
    Vec3Normalize(&z, &z);
    Vector3 x;
    Vec3Cross(&x, up, &z);
    Vec3Normalize(&x, &x);
    Vector3 y;
    Vec3Cross(&y, &z, &x);
    *out = Rows(x.x, y.x, z.x, 0, x.y, y.y, z.y, 0, x.z, y.z, z.z, 0, -Vec3Dot(&x, eye), -Vec3Dot(&y, eye),
                -Vec3Dot(&z, eye), 1);
    return out;
}

Matrix* MatrixPerspectiveFovLH(Matrix* out, float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    const float xScale = yScale / aspect;
    const float depth = zFar / (zFar - zNear);
    *out = Rows(xScale, 0, 0, 0, 0, yScale, 0, 0, 0, 0, depth, 1, 0, 0, -zNear * depth, 0);
    return out;
}

Matrix* MatrixOrthoLH(Matrix* out, float width, float height, float zNear, float zFar)
{
    *out = Rows(2.0f / width, 0, 0, 0, 0, 2.0f / height, 0, 0, 0, 0, 1.0f / (zFar - zNear), 0, 0, 0,
                zNear / (zNear - zFar), 1);
    return out;
}

Matrix* MatrixOrthoOffCenterLH(Matrix* out, float left, float right, float bottom, float top, float zNear, float zFar)
{
    *out = Rows(2.0f / (right - left), 0, 0, 0, 0, 2.0f / (top - bottom), 0, 0, 0, 0, 1.0f / (zFar - zNear), 0,
                (left + right) / (left - right), (top + bottom) / (bottom - top), zNear / (zNear - zFar), 1);
    return out;
}

Matrix* MatrixPerspectiveOffCenterLH(Matrix* out, float left, float right, float bottom, float top, float zNear,
                                     float zFar)
{
    *out = Rows(2.0f * zNear / (right - left), 0, 0, 0, 0, 2.0f * zNear / (top - bottom), 0, 0,
                (left + right) / (left - right), (top + bottom) / (bottom - top), zFar / (zFar - zNear), 1, 0, 0,
                zNear * zFar / (zNear - zFar), 0);
    return out;
}

Vector3* Vec3TransformCoord(Vector3* out, const Vector3* v, const Matrix* m)
{
    const float x = v->x * m->m[0] + v->y * m->m[4] + v->z * m->m[8] + m->m[12];
    const float y = v->x * m->m[1] + v->y * m->m[5] + v->z * m->m[9] + m->m[13];
    const float z = v->x * m->m[2] + v->y * m->m[6] + v->z * m->m[10] + m->m[14];
    const float w = v->x * m->m[3] + v->y * m->m[7] + v->z * m->m[11] + m->m[15];
    const float scale = w != 0.0f ? 1.0f / w : 1.0f;
    *out = Vector3{x * scale, y * scale, z * scale};
    return out;
}

Vector3* Vec3TransformNormal(Vector3* out, const Vector3* v, const Matrix* m)
{
    const float x = v->x * m->m[0] + v->y * m->m[4] + v->z * m->m[8];
    const float y = v->x * m->m[1] + v->y * m->m[5] + v->z * m->m[9];
    const float z = v->x * m->m[2] + v->y * m->m[6] + v->z * m->m[10];
    *out = Vector3{x, y, z};
    return out;
}

Vector3* Vec3Normalize(Vector3* out, const Vector3* v)
{
    const float length = Vec3Length(v);
    if (length == 0.0f || !std::isfinite(length)) {
        *out = length == 0.0f ? Vector3{} : *v;
        return out;
    }
    *out = Vector3{v->x / length, v->y / length, v->z / length};
    return out;
}

Vector3* Vec3Cross(Vector3* out, const Vector3* a, const Vector3* b)
{
    *out = Vector3{a->y * b->z - a->z * b->y, a->z * b->x - a->x * b->z, a->x * b->y - a->y * b->x};
    return out;
}

float Vec3Dot(const Vector3* a, const Vector3* b)
{
    return a->x * b->x + a->y * b->y + a->z * b->z;
}

float Vec3Length(const Vector3* v)
{
    return std::sqrt(Vec3Dot(v, v));
}

Plane* PlaneFromPointNormal(Plane* out, const Vector3* point, const Vector3* normal)
{
    *out = Plane{normal->x, normal->y, normal->z, -Vec3Dot(point, normal)};
    return out;
}

float PlaneDotCoord(const Plane* plane, const Vector3* v)
{
    return plane->a * v->x + plane->b * v->y + plane->c * v->z + plane->d;
}

} // namespace os::gfx
