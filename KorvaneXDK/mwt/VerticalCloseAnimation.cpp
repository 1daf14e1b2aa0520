/** @file VerticalCloseAnimation.cpp The height scaled from the control's top edge. */
#include "KorvaneXDK/mwt/VerticalCloseAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CVerticalCloseAnimation::CVerticalCloseAnimation() = default;

CVerticalCloseAnimation::~CVerticalCloseAnimation() = default;

void CVerticalCloseAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(1.0f, 0.0f, 1.0f), 0.2f, 0.3f);
    Update(0.0f);
}

void CVerticalCloseAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        control->SetEffectTransform(canvas::MakeScaling(scale.x, scale.y, scale.z));
        control->SetEffectColor(kEffectWhite);
    }
}

bool CVerticalCloseAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CVerticalCloseAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
