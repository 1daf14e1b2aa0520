/** @file ZoomOpenAnimation.h A scale to full size about the centre while fading in. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "ZoomOpen"; the forms' opening after the skin is loaded: grows from 0.2 to 1 and fades in
/// over 0.5 s (easing 0.2).
class CZoomOpenAnimation : public CAnimationComponent
{
public:
    CZoomOpenAnimation();
    ~CZoomOpenAnimation() override;

    /// A new, unnamed instance (the console host uses it without the registry).
    static boost::shared_ptr<CAnimationComponent> Create();

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
