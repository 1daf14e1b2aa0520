/** @file OrthoViewClipper.cpp The box of an orthographic view volume. */
#include "KorvaneXDK/platform/graphics/OrthoViewClipper.h"

namespace korvane
{

COrthoViewClipper::COrthoViewClipper(float left, float right, float bottom, float top, float nearDistance,
                                     float farDistance)
    : left_(left), right_(right), bottom_(bottom), top_(top), near_(nearDistance), far_(farDistance)
{}

COrthoViewClipper::~COrthoViewClipper() = default;

bool COrthoViewClipper::IsSphereVisible(const Vector3<float>& center, float radius)
{
    return !(center.z > far_ + radius || center.z < near_ - radius || center.x > right_ + radius ||
             center.x < left_ - radius || center.y > top_ + radius || center.y < bottom_ - radius);
}

float COrthoViewClipper::GetLeft()
{
    return left_;
}
float COrthoViewClipper::GetRight()
{
    return right_;
}
float COrthoViewClipper::GetBottom()
{
    return bottom_;
}
float COrthoViewClipper::GetTop()
{
    return top_;
}
float COrthoViewClipper::GetNear()
{
    return near_;
}
float COrthoViewClipper::GetFar()
{
    return far_;
}

} // namespace korvane
