/** @file ViewFrustumClipper.h The six planes of a perspective view volume. */
#pragma once

#include "KorvaneXDK/platform/graphics/CameraViewClipper.h"
#include "os/gfx/Math.h"

namespace korvane
{

/// Planes are inside where a x + b y + c z + d >= 0.
class CViewFrustumClipper : public ICameraViewClipper, public virtual CObject
{
public:
    /// A symmetric volume from the vertical field of view and the aspect ratio.
    CViewFrustumClipper(float fovY, float aspect, float nearDistance, float farDistance);
    /// An off-centre volume from its edges on the near plane.
    CViewFrustumClipper(float left, float right, float bottom, float top, float nearDistance, float farDistance);
    ~CViewFrustumClipper() override;

    bool IsSphereVisible(const Vector3<float>& center, float radius) override;
    virtual const os::gfx::Plane& GetNearPlane();
    virtual const os::gfx::Plane& GetFarPlane();
    virtual const os::gfx::Plane& GetLeftPlane();
    virtual const os::gfx::Plane& GetRightPlane();
    virtual const os::gfx::Plane& GetTopPlane();
    virtual const os::gfx::Plane& GetBottomPlane();
    virtual float GetNear();
    virtual float GetFar();

private:
    enum
    {
        kNear,
        kFar,
        kLeft,
        kRight,
        kTop,
        kBottom,
    };
    os::gfx::Plane planes_[6];
    float near_;
    float far_;
};

} // namespace korvane
