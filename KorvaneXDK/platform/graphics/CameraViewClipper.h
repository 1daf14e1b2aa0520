/** @file CameraViewClipper.h What a camera asks its clipper: may a sphere be seen? */
#pragma once

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/core/Vector3.h"

namespace korvane
{

class ICameraViewClipper : public IInterface
{
public:
    /// The centre is in view space (z forward from the eye).
    virtual bool IsSphereVisible(const Vector3<float>& center, float radius) = 0;
};

} // namespace korvane
