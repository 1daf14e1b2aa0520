/** @file SpreadInAnimation.h A scale to full size about the centre while fading in. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "SpreadIn": shrinks from 1.4 to 1 and fades in over 0.5 s (easing 0.3).
class CSpreadInAnimation : public CAnimationComponent
{
public:
    CSpreadInAnimation();
    ~CSpreadInAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> scale_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
