/** @file FadeOutAnimation.h The effect colour's alpha from 1 to 0 in 0.2 s. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "FadeOut". Finished at 0.2 s. The transform is left as it is.
class CFadeOutAnimation : public CAnimationComponent
{
public:
    CFadeOutAnimation();
    ~CFadeOutAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
