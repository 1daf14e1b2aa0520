/** @file Camera.h Eye, target or angles, up vector and projection, turned into the environment's matrices. */
#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector3.h"

namespace korvane
{

class ICameraViewClipper;

/// Views come from angles (mode 0, the start), a target (1) or an explicit matrix (2);
/// projections are perspective (0), orthographic (1), perspective off-centre (2) or
/// orthographic off-centre (3). All matrices are left-handed with row vectors. A new camera
/// has a perspective of pi/4, 0.75, 10 to 1000.
class CCamera : public virtual CObject
{
public:
    CCamera();
    ~CCamera() override;

    virtual void SetPerspective(float fovY, float aspect, float nearDistance, float farDistance);
    virtual void SetOrtho(float width, float height, float nearDistance, float farDistance);
    virtual void SetOrthoOffCenter(float left, float right, float bottom, float top, float nearDistance,
                                   float farDistance);
    virtual void SetPerspectiveOffCenter(float left, float right, float bottom, float top, float nearDistance,
                                         float farDistance);
    virtual const Matrix4& GetProjectionMatrix();
    virtual float GetNear();
    virtual float GetFar();
    virtual std::int32_t GetProjectionMode();
    /// Throws EInvalidOperation "GetFov(): Projection Mode must be PERSPEVTIVE" outside mode 0.
    virtual float GetFov();
    /// Throws EInvalidOperation outside mode 0.
    virtual float GetAspect();
    virtual void SetEye(float x, float y, float z);
    virtual void SetEye(const Vector3<float>& eye);
    virtual void MoveEye(float dx, float dy, float dz);
    virtual const Vector3<float>& GetEye();
    virtual void SetTarget(float x, float y, float z);
    virtual void SetTarget(const Vector3<float>& target);
    virtual void SetAngles(float pitch, float yaw);
    virtual void AddAngles(float dPitch, float dYaw);
    virtual float GetYaw();
    virtual float GetPitch();
    virtual const Vector3<float>& GetTarget();
    virtual void SetViewMatrix(const Matrix4& view);
    virtual void SetUp(float x, float y, float z);
    virtual void SetUp(const Vector3<float>& up);
    /// Up = (0, 1, 0) rotated by yaw, pitch and roll.
    virtual void SetUpFromYawPitchRoll(float yaw, float pitch, float roll);
    virtual void SetViewOffset(const Vector3<float>& offset);
    virtual void SetViewScale(float scale);
    virtual void SetPreMatrix(const Matrix4& matrix);
    virtual void SetPostMatrix(const Matrix4& matrix);
    /// Recomputes the view and returns it.
    virtual const Matrix4& GetViewMatrix();
    virtual void SetDepthBandCenter(float center);
    virtual float GetDepthBandCenter();
    virtual void SetDepthBandSpread(float spread);
    virtual float GetDepthBandSpread();
    virtual void SetDepthBandEnabled(bool enabled);
    virtual bool IsDepthBandEnabled();
    /// Writes view, projection and the depth band into the shader environment.
    virtual void Apply();
    /// Writes view and projection as the light's into the shader environment.
    virtual void ApplyAsLight();
    /// The inverse of the last view without its translation: turns a quad to face the camera.
    virtual void GetBillboardMatrix(Matrix4& out);
    /// A rotation about y only, towards the camera's horizontal direction.
    virtual void GetYAxisBillboardMatrix(Matrix4& out);
    /// in x world x view x projection of the shader environment, divided by w.
    virtual void Project(Vector3<float>& out, const Vector3<float>& in);
    virtual bool IsSphereVisible(const Vector3<float>& center, float radius);

    /// Another name for SetTarget.
    void SetLookAt(const Vector3<float>& target) { SetTarget(target); }
    const boost::shared_ptr<ICameraViewClipper>& GetClipper() const { return clipper_; }

private:
    void UpdateTargetFromAngles();
    void ComputeView();

    Matrix4 preMatrix_;
    Matrix4 postMatrix_;
    Matrix4 explicitView_;
    Matrix4 view_;
    Matrix4 projection_;
    Vector3<float> eye_{0.0f, 0.0f, 0.0f};
    Vector3<float> target_{0.0f, 0.0f, 0.0f};
    Vector3<float> up_{0.0f, 1.0f, 0.0f};
    std::int32_t viewMode_ = 0;
    float pitch_ = 1.5707964f;
    float yaw_ = 0.0f;
    boost::shared_ptr<ICameraViewClipper> clipper_;
    std::int32_t projectionMode_ = 0;
    float fov_ = 0.0f;
    float aspect_ = 0.0f;
    float near_ = 0.0f;
    float far_ = 0.0f;
    float viewScale_ = 1.0f;
    Vector3<float> viewOffset_{0.0f, 0.0f, 0.0f};
    float depthBandCenter_ = 800.0f;
    float depthBandSpread_ = 4.0f;
    bool depthBandEnabled_ = false;
};

} // namespace korvane
