/** @file TiltAnimation.h A turn out of the screen about a slanted in-plane axis through the centre, with a fade. */
#pragma once

#include "KorvaneXDK/core/Vector3.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// The motion behind "TiltOpen" and "TiltClose": between a quarter turn about the tilt axis and upright in 0.5 s
/// (easing 0.3), fading. Opening comes in from one side of the axis, closing leaves by the other.
class CTiltAnimation : public CAnimationComponent
{
public:
    ~CTiltAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

    /// (cos 60 degrees, -sin 60 degrees, 0), in the plane of the screen.
    static constexpr Vector3<float> kTiltAxis{0.5f, -0.8660254f, 0.0f};

protected:
    explicit CTiltAnimation(bool opening);

private:
    bool opening_;
    TMotionTween<float> angle_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
