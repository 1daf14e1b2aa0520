/** @file SpreadInAnimation.cpp A scale to full size about the centre while fading in. */
#include "KorvaneXDK/mwt/SpreadInAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CSpreadInAnimation::CSpreadInAnimation() = default;

CSpreadInAnimation::~CSpreadInAnimation() = default;

void CSpreadInAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(1.4f, 1.4f, 1.0f), Vector3<float>(1.0f, 1.0f, 1.0f), 0.5f, 0.3f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.5f, 0.3f);
    Update(0.0f);
}

void CSpreadInAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        control->SetEffectTransform(AboutCentre(canvas::MakeScaling(scale.x, scale.y, scale.z), *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CSpreadInAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CSpreadInAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
