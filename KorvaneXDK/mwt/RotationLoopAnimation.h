/** @file RotationLoopAnimation.h A steady turn about z through the centre, forever. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Registered as "RotationLoop" (one turn every 10 s). The angle is 2 pi t / period; white. The clock advances after
/// the frame is written; never finished.
class CRotationLoopAnimation : public CAnimationComponent
{
public:
    CRotationLoopAnimation(float period);
    ~CRotationLoopAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    float period_;
    float clock_;
};

} // namespace korvane::mwt
