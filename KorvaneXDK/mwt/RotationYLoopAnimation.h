/** @file RotationYLoopAnimation.h A steady turn about the vertical axis through the centre, forever, after a fade-in. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "RotationYLoop" (one turn a second). The angle is -(2 pi t / period + 3 pi / 2), so the control
/// starts edge-on; it fades in over 0.32 periods after 0.07 periods. The clock advances after the frame is
/// written; never finished.
class CRotationYLoopAnimation : public CAnimationComponent
{
public:
    CRotationYLoopAnimation(float period);
    ~CRotationYLoopAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Color4<float>> color_;
    float period_;
    float clock_;
};

} // namespace korvane::mwt
