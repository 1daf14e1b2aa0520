/** @file ViewFrustumClipper.cpp The six planes of a perspective view volume. */
#include "KorvaneXDK/platform/graphics/ViewFrustumClipper.h"

#include <cmath>
#include <initializer_list>

namespace korvane
{

namespace
{

/// The plane through the eye with the given normal.
os::gfx::Plane ThroughOrigin(float x, float y, float z)
{
    const os::gfx::Vector3 origin;
    const os::gfx::Vector3 normal{x, y, z};
    os::gfx::Plane plane;
    os::gfx::PlaneFromPointNormal(&plane, &origin, &normal);
    return plane;
}

os::gfx::Vector3 Normalized(float x, float y, float z)
{
    os::gfx::Vector3 v{x, y, z};
    os::gfx::Vec3Normalize(&v, &v);
    return v;
}

} // namespace

CViewFrustumClipper::CViewFrustumClipper(float fovY, float aspect, float nearDistance, float farDistance)
    : near_(nearDistance), far_(farDistance)
{
    const float d = 1.0f / std::tan(fovY / 2.0f);
    const float l1 = std::sqrt(aspect * aspect + d * d);
    const float l2 = std::sqrt(d * d + 1.0f);
    planes_[kNear] = {0.0f, 0.0f, 1.0f, -nearDistance};
    planes_[kFar] = {0.0f, 0.0f, -1.0f, farDistance};
    planes_[kLeft] = {d / l1, 0.0f, aspect / l1, 0.0f};
    planes_[kRight] = {-d / l1, 0.0f, aspect / l1, 0.0f};
    planes_[kTop] = {0.0f, -d / l2, 1.0f / l2, 0.0f};
    planes_[kBottom] = {0.0f, d / l2, 1.0f / l2, 0.0f};
}

CViewFrustumClipper::CViewFrustumClipper(float left, float right, float bottom, float top, float nearDistance,
                                         float farDistance)
    : near_(nearDistance), far_(farDistance)
{
    planes_[kNear] = {0.0f, 0.0f, 1.0f, -nearDistance};
    planes_[kFar] = {0.0f, 0.0f, -1.0f, farDistance};
    const os::gfx::Vector3 l = Normalized(left, 0.0f, nearDistance);
    planes_[kLeft] = ThroughOrigin(l.z, 0.0f, -l.x);
    const os::gfx::Vector3 r = Normalized(right, 0.0f, nearDistance);
    planes_[kRight] = ThroughOrigin(-r.z, 0.0f, r.x);
    const os::gfx::Vector3 b = Normalized(0.0f, bottom, nearDistance);
    planes_[kBottom] = ThroughOrigin(0.0f, b.z, -b.y);
    const os::gfx::Vector3 t = Normalized(0.0f, top, nearDistance);
    planes_[kTop] = ThroughOrigin(0.0f, -t.z, t.y);
}

CViewFrustumClipper::~CViewFrustumClipper() = default;

bool CViewFrustumClipper::IsSphereVisible(const Vector3<float>& center, float radius)
{
    if (center.z > far_ + radius || center.z < near_ - radius) {
        return false;
    }
    const os::gfx::Vector3 c{center.x, center.y, center.z};
    for (int side : {kLeft, kRight, kTop, kBottom}) {
        if (os::gfx::PlaneDotCoord(&planes_[side], &c) < -radius) {
            return false;
        }
    }
    return true;
}

const os::gfx::Plane& CViewFrustumClipper::GetNearPlane()
{
    return planes_[kNear];
}
const os::gfx::Plane& CViewFrustumClipper::GetFarPlane()
{
    return planes_[kFar];
}
const os::gfx::Plane& CViewFrustumClipper::GetLeftPlane()
{
    return planes_[kLeft];
}
const os::gfx::Plane& CViewFrustumClipper::GetRightPlane()
{
    return planes_[kRight];
}
const os::gfx::Plane& CViewFrustumClipper::GetTopPlane()
{
    return planes_[kTop];
}
const os::gfx::Plane& CViewFrustumClipper::GetBottomPlane()
{
    return planes_[kBottom];
}
float CViewFrustumClipper::GetNear()
{
    return near_;
}
float CViewFrustumClipper::GetFar()
{
    return far_;
}

} // namespace korvane
