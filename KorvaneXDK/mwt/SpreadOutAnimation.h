/** @file SpreadOutAnimation.h A swell to 1.4 while fading out, about the centre. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "SpreadOut"; the forms' closing after the skin is loaded. Grows to 1.4 and fades out in 0.5 s
/// (easing 0.3) and is finished then, still at 1.4; a snap back to 1.0 follows over 0.01 s for a control
/// that keeps it.
class CSpreadOutAnimation : public CAnimationComponent
{
public:
    CSpreadOutAnimation();
    ~CSpreadOutAnimation() override;

    /// A new, unnamed instance (the console host uses it without the registry).
    static boost::shared_ptr<CAnimationComponent> Create();

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> spread_;
    TMotionTween<Vector3<float>> snapBack_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
