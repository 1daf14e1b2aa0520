/** @file HorizontalMirrorStaticAnimation.h The control mirrored left to right about its vertical centre line. */
#pragma once

#include "KorvaneXDK/core/Matrix4.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Registered as "HorizontalMirrorStatic": x becomes w - x on every update; white. Finished from the start, so a
/// looping factory makes a new one each frame, which changes nothing.
class CHorizontalMirrorStaticAnimation : public CAnimationComponent
{
public:
    CHorizontalMirrorStaticAnimation();
    ~CHorizontalMirrorStaticAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    Matrix4 mirror_;
};

} // namespace korvane::mwt
