/** @file VerticalCloseAnimation.h The height scaled from the control's top edge. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "VerticalClose": rolls up to height 0 in 0.2 s (easing 0.3); white.
class CVerticalCloseAnimation : public CAnimationComponent
{
public:
    CVerticalCloseAnimation();
    ~CVerticalCloseAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> scale_;
};

} // namespace korvane::mwt
