/** @file RollingCloseAnimation.h A turn about z and a squash of the height, about the centre, with a fade. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Registered as "RollingClose"; the default closing of forms: the reverse of CRollingOpenAnimation, turning the
/// other way, finished at 0.5 s.
class CRollingCloseAnimation : public CAnimationComponent
{
public:
    CRollingCloseAnimation();
    ~CRollingCloseAnimation() override;

    /// Sets the motion up and shows its first frame at once (Update(0)).
    void Initialize() override;
    void Update(float seconds) override;
    bool IsFinished() const override;
    bool IsCompleted() const override;

private:
    TMotionTween<Vector3<float>> scale_;
    TMotionTween<float> angle_;
    TMotionTween<Color4<float>> color_;
};

} // namespace korvane::mwt
