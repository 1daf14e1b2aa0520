/** @file RotationLoopAnimation.cpp A steady turn about z through the centre, forever. */
#include "KorvaneXDK/mwt/RotationLoopAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CRotationLoopAnimation::CRotationLoopAnimation(float period) : period_(period), clock_(0.0f) {}

CRotationLoopAnimation::~CRotationLoopAnimation() = default;

void CRotationLoopAnimation::Initialize()
{
    Update(0.0f);
}

void CRotationLoopAnimation::Update(float seconds)
{
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const float angle = kTwoPi * clock_ / period_;
        control->SetEffectTransform(AboutCentre(canvas::MakeRotationZ(angle), *control));
        control->SetEffectColor(kEffectWhite);
    }
    clock_ += seconds;
}

bool CRotationLoopAnimation::IsFinished() const
{
    return false;
}

bool CRotationLoopAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
