/** @file RotationYLoopAnimation.cpp A steady turn about the vertical axis through the centre, forever, after a fade-in. */
#include "KorvaneXDK/mwt/RotationYLoopAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CRotationYLoopAnimation::CRotationYLoopAnimation(float period) : period_(period), clock_(0.0f) {}

CRotationYLoopAnimation::~CRotationYLoopAnimation() = default;

void CRotationYLoopAnimation::Initialize()
{
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.32f * period_,
               1.0f, 0.07f * period_);
    Update(0.0f);
}

void CRotationYLoopAnimation::Update(float seconds)
{
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const float angle = -(kTwoPi * clock_ / period_ + 4.712389f);
        const Matrix4 turn = canvas::MakeRotation(Vector3<float>(0.0f, 1.0f, 0.0f), angle);
        control->SetEffectTransform(AboutCentre(turn, *control));
        control->SetEffectColor(color_.GetValue());
    }
    clock_ += seconds;
}

bool CRotationYLoopAnimation::IsFinished() const
{
    return false;
}

bool CRotationYLoopAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
