/** @file ScaleFadeInAnimation.cpp A scale to full size about the centre while fading in. */
#include "KorvaneXDK/mwt/ScaleFadeInAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CScaleFadeInAnimation::CScaleFadeInAnimation(float startScale, float easing) : startScale_(startScale), easing_(easing)
{}

CScaleFadeInAnimation::~CScaleFadeInAnimation() = default;

void CScaleFadeInAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(startScale_, startScale_, 1.0f), Vector3<float>(1.0f, 1.0f, 1.0f), 0.5f, easing_);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.5f, easing_);
    Update(0.0f);
}

void CScaleFadeInAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        control->SetEffectTransform(AboutCentre(canvas::MakeScaling(scale.x, scale.y, scale.z), *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CScaleFadeInAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CScaleFadeInAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
