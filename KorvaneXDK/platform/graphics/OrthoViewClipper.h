/** @file OrthoViewClipper.h The box of an orthographic view volume. */
#pragma once

#include "KorvaneXDK/platform/graphics/CameraViewClipper.h"

namespace korvane
{

class COrthoViewClipper : public ICameraViewClipper, public virtual CObject
{
public:
    COrthoViewClipper(float left, float right, float bottom, float top, float nearDistance, float farDistance);
    ~COrthoViewClipper() override;

    bool IsSphereVisible(const Vector3<float>& center, float radius) override;
    virtual float GetLeft();
    virtual float GetRight();
    virtual float GetBottom();
    virtual float GetTop();
    virtual float GetNear();
    virtual float GetFar();

private:
    float left_;
    float right_;
    float bottom_;
    float top_;
    float near_;
    float far_;
};

} // namespace korvane
