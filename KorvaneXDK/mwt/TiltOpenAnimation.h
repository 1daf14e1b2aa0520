/** @file TiltOpenAnimation.h A turn out of the screen about a slanted in-plane axis through the centre, with a fade. */
#pragma once

#include "KorvaneXDK/core/Vector3.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "TiltOpen": from a quarter turn about the tilt axis to upright in 0.5 s (easing 0.3), fading in.
class CTiltOpenAnimation : public CAnimationComponent
{
public:
    CTiltOpenAnimation();
    ~CTiltOpenAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

    /// (cos 60 degrees, -sin 60 degrees, 0), in the plane of the screen.
    static constexpr Vector3<float> kTiltAxis{0.5f, -0.8660254f, 0.0f};

private:
    TMotionTween<float> angle_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
