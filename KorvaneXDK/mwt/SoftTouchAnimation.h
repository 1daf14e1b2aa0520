/** @file SoftTouchAnimation.h The press of a button: a quick swell and a return to size, about the centre. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "SoftTouch"; the buttons' press animation. Grows to 1.12 in 0.04 s (easing 0.6), holds until
/// 0.12 s, then shrinks by 1/1.12 over 0.12 s, ending at exactly 1.0 at 0.24 s, when it is finished; white.
class CSoftTouchAnimation : public CAnimationComponent
{
public:
    CSoftTouchAnimation();
    ~CSoftTouchAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> grow_;
    TMotionTween<Vector3<float>> shrink_;
};

} // namespace korvane::mwt
