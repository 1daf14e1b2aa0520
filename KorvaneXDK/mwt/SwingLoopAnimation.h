/** @file SwingLoopAnimation.h A swing about z, forever. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Registered as "SwingLoop" (period 3 s, amplitude 10 degrees, phase 0). The angle is
/// amplitude sin(2 pi t / period + phase), turned about (w / 2, h / 4), a quarter of the height from the top;
/// white. The clock advances after the frame is written; never finished.
class CSwingLoopAnimation : public CAnimationComponent
{
public:
    CSwingLoopAnimation(float period, float amplitude, float phase);
    ~CSwingLoopAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    float period_;
    float amplitude_;
    float phase_;
    float clock_;
};

} // namespace korvane::mwt
