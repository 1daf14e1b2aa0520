/** @file FadeOutAnimation.cpp The effect colour's alpha from 1 to 0 in 0.2 s. */
#include "KorvaneXDK/mwt/FadeOutAnimation.h"

#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CFadeOutAnimation::CFadeOutAnimation() = default;

CFadeOutAnimation::~CFadeOutAnimation() = default;

void CFadeOutAnimation::Initialize()
{
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), 0.2f, 1.0f);
    Update(0.0f);
}

void CFadeOutAnimation::Update(float seconds)
{
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        control->SetEffectColor(color_.GetValue());
    }
}

bool CFadeOutAnimation::IsFinished() const
{
    return color_.IsFinished();
}

bool CFadeOutAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
