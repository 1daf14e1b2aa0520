/** @file ScaleFadeInAnimation.h A scale to full size about the centre while fading in. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// The motion behind "ZoomOpen" and "SpreadIn": from a start scale to 1 about the centre, fading in, over 0.5 s.
/// Only the start scale and the easing tell them apart.
class CScaleFadeInAnimation : public CAnimationComponent
{
public:
    ~CScaleFadeInAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

protected:
    CScaleFadeInAnimation(float startScale, float easing);

private:
    float startScale_;
    float easing_;
    TMotionTween<Vector3<float>> scale_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
