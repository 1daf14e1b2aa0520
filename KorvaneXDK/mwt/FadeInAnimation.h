/** @file FadeInAnimation.h The effect colour's alpha from 0 to 1 in 0.2 s. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "FadeIn". Finished at 0.2 s. The transform is left as it is.
class CFadeInAnimation : public CAnimationComponent
{
public:
    CFadeInAnimation();
    ~CFadeInAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
