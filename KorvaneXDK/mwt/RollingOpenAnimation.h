/** @file RollingOpenAnimation.h A turn about z and a squash of the height, about the centre, with a fade. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "RollingOpen"; the default opening of forms. It starts as a flat line through the centre turned by
/// 60 degrees and unrolls to the upright control in 0.5 s (easing 0.3) while fading in.
class CRollingOpenAnimation : public CAnimationComponent
{
public:
    CRollingOpenAnimation();
    ~CRollingOpenAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> scale_;
    TMotionTween<float> angle_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
