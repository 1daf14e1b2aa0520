/** @file FlipSlideAnimation.h A slide by whole units toward or away from the control's place, with a fade. */
#pragma once

#include "KorvaneXDK/core/Vector3.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// The motion behind "FlipSlideIn" and "FlipSlideOut": a slide over 0.35 s (easing 0.3) with a fade. Sliding in comes
/// from 32 units right and 32 up; sliding out leaves 32 units left and 32 down.
class CFlipSlideAnimation : public CAnimationComponent
{
public:
    ~CFlipSlideAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

    /// The offset tween (for owners that steer the motion, and tests).
    TMotionTween<Vector3<float>>& GetOffsetTween() { return offset_; }

protected:
    explicit CFlipSlideAnimation(bool slidingIn);

private:
    bool slidingIn_;
    TMotionTween<Vector3<float>> offset_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
