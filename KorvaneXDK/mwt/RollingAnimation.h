/** @file RollingAnimation.h A turn about z and a squash of the height, about the centre, with a fade. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// The motion behind "RollingOpen" and "RollingClose": between a flat line through the centre turned by 60 degrees
/// and the upright control, in 0.5 s (easing 0.3), fading. Opening unrolls from the line turned one way; closing
/// rolls up into it turned the other way.
class CRollingAnimation : public CAnimationComponent
{
public:
    ~CRollingAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

protected:
    explicit CRollingAnimation(bool opening);

private:
    bool opening_;
    TMotionTween<Vector3<float>> scale_;
    TMotionTween<float> angle_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
