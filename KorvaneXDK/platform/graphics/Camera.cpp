/** @file Camera.cpp Eye, target or angles, up vector and projection, turned into the environment's matrices. */
#include "KorvaneXDK/platform/graphics/Camera.h"

#include <algorithm>
#include <cstdint>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/graphics/DriverAccess.h"
#include "KorvaneXDK/platform/graphics/OrthoViewClipper.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ViewFrustumClipper.h"

namespace korvane
{

namespace
{

os::gfx::Vector3 ToPlatform(const Vector3<float>& v)
{
    return os::gfx::Vector3{v.x, v.y, v.z};
}

Vector3<float> FromPlatform(const os::gfx::Vector3& v)
{
    return Vector3<float>(v.x, v.y, v.z);
}

} // namespace

CCamera::CCamera()
{
    SetPerspective(0.7853982f, 0.75f, 10.0f, 1000.0f);
}

CCamera::~CCamera() = default;

void CCamera::SetPerspective(float fovY, float aspect, float nearDistance, float farDistance)
{
    projectionMode_ = 0;
    fov_ = fovY;
    aspect_ = aspect;
    near_ = nearDistance;
    far_ = farDistance;
    os::gfx::MatrixPerspectiveFovLH(&projection_, fovY, aspect, nearDistance, farDistance);
    clipper_.reset(new CViewFrustumClipper(fovY, aspect, nearDistance, farDistance));
}

void CCamera::SetOrtho(float width, float height, float nearDistance, float farDistance)
{
    projectionMode_ = 1;
    near_ = nearDistance;
    far_ = farDistance;
    os::gfx::MatrixOrthoLH(&projection_, width, height, nearDistance, farDistance);
    clipper_.reset(
        new COrthoViewClipper(-width / 2.0f, width / 2.0f, -height / 2.0f, height / 2.0f, nearDistance, farDistance));
}

void CCamera::SetOrthoOffCenter(float left, float right, float bottom, float top, float nearDistance, float farDistance)
{
    projectionMode_ = 3;
    near_ = nearDistance;
    far_ = farDistance;
    os::gfx::MatrixOrthoOffCenterLH(&projection_, left, right, bottom, top, nearDistance, farDistance);
    clipper_.reset(new COrthoViewClipper(left, right, bottom, top, nearDistance, farDistance));
}

void CCamera::SetPerspectiveOffCenter(float left, float right, float bottom, float top, float nearDistance,
                                      float farDistance)
{
    projectionMode_ = 2;
    near_ = nearDistance;
    far_ = farDistance;
    os::gfx::MatrixPerspectiveOffCenterLH(&projection_, left, right, bottom, top, nearDistance, farDistance);
    clipper_.reset(new CViewFrustumClipper(left, right, bottom, top, nearDistance, farDistance));
}

const Matrix4& CCamera::GetProjectionMatrix()
{
    return projection_;
}
float CCamera::GetNear()
{
    return near_;
}
float CCamera::GetFar()
{
    return far_;
}
std::int32_t CCamera::GetProjectionMode()
{
    return projectionMode_;
}

float CCamera::GetFov()
{
    if (projectionMode_ != 0) {
        throw EInvalidOperation(this, "GetFov(): Projection Mode must be PERSPEVTIVE");
    }
    return fov_;
}

float CCamera::GetAspect()
{
    if (projectionMode_ != 0) {
        throw EInvalidOperation(this, "GetAspect(): Projection Mode must be PERSPEVTIVE");
    }
    return aspect_;
}

void CCamera::SetEye(float x, float y, float z)
{
    eye_ = Vector3<float>(x, y, z);
}
void CCamera::SetEye(const Vector3<float>& eye)
{
    eye_ = eye;
}
void CCamera::MoveEye(float dx, float dy, float dz)
{
    eye_ += Vector3<float>(dx, dy, dz);
}
const Vector3<float>& CCamera::GetEye()
{
    return eye_;
}
void CCamera::SetTarget(float x, float y, float z)
{
    SetTarget(Vector3<float>(x, y, z));
}
void CCamera::SetTarget(const Vector3<float>& target)
{
    target_ = target;
    viewMode_ = 1;
}
void CCamera::SetAngles(float pitch, float yaw)
{
    pitch_ = pitch;
    yaw_ = yaw;
    viewMode_ = 0;
}
void CCamera::AddAngles(float dPitch, float dYaw)
{
    pitch_ += dPitch;
    yaw_ += dYaw;
}
float CCamera::GetYaw()
{
    return yaw_;
}
float CCamera::GetPitch()
{
    return pitch_;
}
const Vector3<float>& CCamera::GetTarget()
{
    return target_;
}
void CCamera::SetViewMatrix(const Matrix4& view)
{
    explicitView_ = view;
    viewMode_ = 2;
}
void CCamera::SetUp(float x, float y, float z)
{
    up_ = Vector3<float>(x, y, z);
}
void CCamera::SetUp(const Vector3<float>& up)
{
    up_ = up;
}

void CCamera::SetUpFromYawPitchRoll(float yaw, float pitch, float roll)
{
    os::gfx::Matrix rotation;
    os::gfx::MatrixRotationYawPitchRoll(&rotation, yaw, pitch, roll);
    const os::gfx::Vector3 up{0.0f, 1.0f, 0.0f};
    os::gfx::Vector3 turned;
    os::gfx::Vec3TransformNormal(&turned, &up, &rotation);
    up_ = FromPlatform(turned);
}

void CCamera::SetViewOffset(const Vector3<float>& offset)
{
    viewOffset_ = offset;
}
void CCamera::SetViewScale(float scale)
{
    viewScale_ = scale;
}
void CCamera::SetPreMatrix(const Matrix4& matrix)
{
    preMatrix_ = matrix;
}
void CCamera::SetPostMatrix(const Matrix4& matrix)
{
    postMatrix_ = matrix;
}

void CCamera::UpdateTargetFromAngles()
{
    os::gfx::Matrix rotation;
    os::gfx::MatrixRotationYawPitchRoll(&rotation, yaw_, pitch_, 0.0f);
    const os::gfx::Vector3 forward{0.0f, 0.0f, 1.0f};
    os::gfx::Vector3 direction;
    os::gfx::Vec3TransformNormal(&direction, &forward, &rotation);
    target_ = eye_ + FromPlatform(direction);
}

void CCamera::ComputeView()
{
    Matrix4 view;
    if (viewMode_ == 2) {
        view = explicitView_;
        Matrix4 inverse;
        if (os::gfx::MatrixInverse(&inverse, nullptr, &view) != nullptr) {
            const os::gfx::Vector3 origin{0.0f, 0.0f, 0.0f};
            const os::gfx::Vector3 ahead{0.0f, 0.0f, 1.0f};
            const os::gfx::Vector3 above{0.0f, 1.0f, 0.0f};
            os::gfx::Vector3 eye, target, up;
            os::gfx::Vec3TransformCoord(&eye, &origin, &inverse);
            os::gfx::Vec3TransformCoord(&target, &ahead, &inverse);
            os::gfx::Vec3TransformCoord(&up, &above, &inverse);
            os::gfx::Vec3Normalize(&up, &up);
            eye_ = FromPlatform(eye);
            target_ = FromPlatform(target);
            up_ = FromPlatform(up);
        }
    } else {
        if (viewMode_ == 0) {
            UpdateTargetFromAngles();
        }
        const os::gfx::Vector3 eye = ToPlatform(eye_);
        const os::gfx::Vector3 target = ToPlatform(target_);
        const os::gfx::Vector3 up = ToPlatform(up_);
        os::gfx::MatrixLookAtLH(&view, &eye, &target, &up);
    }
    Matrix4 scaling;
    os::gfx::MatrixScaling(&scaling, viewScale_, viewScale_, viewScale_);
    view = view * scaling;
    Matrix4 offset;
    os::gfx::MatrixTranslation(&offset, -viewOffset_.x, -viewOffset_.y, -viewOffset_.z);
    view = view * offset;
    view_ = preMatrix_ * view * postMatrix_;
}

const Matrix4& CCamera::GetViewMatrix()
{
    ComputeView();
    return view_;
}

void CCamera::SetDepthBandCenter(float center)
{
    depthBandCenter_ = center;
}
float CCamera::GetDepthBandCenter()
{
    return depthBandCenter_;
}
void CCamera::SetDepthBandSpread(float spread)
{
    depthBandSpread_ = spread;
}
float CCamera::GetDepthBandSpread()
{
    return depthBandSpread_;
}
void CCamera::SetDepthBandEnabled(bool enabled)
{
    depthBandEnabled_ = enabled;
}
bool CCamera::IsDepthBandEnabled()
{
    return depthBandEnabled_;
}

void CCamera::Apply()
{
    CShaderEnvironment& environment = RequireShaderEnvironment(this);
    ComputeView();
    environment.SetViewMatrix(view_);
    environment.SetProjectionMatrix(projection_);
    const float c = depthBandCenter_;
    const float f = c * 0.09375f * depthBandSpread_;
    environment.SetDepthBand(c + f, c + 2.0f * f, c - 2.0f * f, c - f);
    // The integer part of max(5.5 - spread, 1), kept inside the level's range for any spread.
    const float level = 5.5f - depthBandSpread_;
    environment.SetDepthBandLevel(!(level > 1.0f)          ? 1
                                  : level >= 2147483648.0f ? INT32_MAX
                                                           : static_cast<std::int32_t>(level));
    environment.SetDepthBandEnabled(depthBandEnabled_);
}

void CCamera::ApplyAsLight()
{
    CShaderEnvironment& environment = RequireShaderEnvironment(this);
    ComputeView();
    environment.SetLightViewMatrix(view_);
    environment.SetLightProjectionMatrix(projection_);
}

void CCamera::GetBillboardMatrix(Matrix4& out)
{
    if (viewMode_ == 0) {
        UpdateTargetFromAngles();
    }
    Matrix4 inverse;
    if (os::gfx::MatrixInverse(&inverse, nullptr, &view_) == nullptr) {
        inverse = view_;
    }
    inverse.m[12] = 0.0f;
    inverse.m[13] = 0.0f;
    inverse.m[14] = 0.0f;
    out = inverse;
}

void CCamera::GetYAxisBillboardMatrix(Matrix4& out)
{
    if (viewMode_ == 0) {
        UpdateTargetFromAngles();
    }
    const os::gfx::Vector3 origin{0.0f, 0.0f, 0.0f};
    const os::gfx::Vector3 at{target_.x - eye_.x, 0.0f, target_.z - eye_.z};
    const os::gfx::Vector3 up{0.0f, 1.0f, 0.0f};
    Matrix4 lookAt;
    os::gfx::MatrixLookAtLH(&lookAt, &origin, &at, &up);
    Matrix4 inverse;
    out = os::gfx::MatrixInverse(&inverse, nullptr, &lookAt) != nullptr ? inverse : Matrix4();
}

void CCamera::Project(Vector3<float>& out, const Vector3<float>& in)
{
    CShaderEnvironment& environment = RequireShaderEnvironment(this);
    Matrix4 world, view, projection;
    environment.CopyWorldMatrix(world);
    environment.CopyViewMatrix(view);
    environment.CopyProjectionMatrix(projection);
    const Matrix4 all = world * view * projection;
    const os::gfx::Vector3 point = ToPlatform(in);
    os::gfx::Vector3 projected;
    os::gfx::Vec3TransformCoord(&projected, &point, &all);
    out = FromPlatform(projected);
}

bool CCamera::IsSphereVisible(const Vector3<float>& center, float radius)
{
    return clipper_->IsSphereVisible(center, radius);
}

} // namespace korvane
