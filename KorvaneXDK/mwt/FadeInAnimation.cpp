/** @file FadeInAnimation.cpp The effect colour's alpha from 0 to 1 in 0.2 s. */
#include "KorvaneXDK/mwt/FadeInAnimation.h"

#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CFadeInAnimation::CFadeInAnimation() = default;

CFadeInAnimation::~CFadeInAnimation() = default;

void CFadeInAnimation::Initialize()
{
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.2f, 1.0f);
    Update(0.0f);
}

void CFadeInAnimation::Update(float seconds)
{
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        control->SetEffectColor(color_.GetValue());
    }
}

bool CFadeInAnimation::IsFinished() const
{
    return color_.IsFinished();
}

bool CFadeInAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
