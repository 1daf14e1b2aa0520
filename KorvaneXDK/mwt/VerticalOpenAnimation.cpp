/** @file VerticalOpenAnimation.cpp The height scaled from the control's top edge. */
#include "KorvaneXDK/mwt/VerticalOpenAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CVerticalOpenAnimation::CVerticalOpenAnimation() = default;

CVerticalOpenAnimation::~CVerticalOpenAnimation() = default;

void CVerticalOpenAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(1.0f, 0.0f, 1.0f), Vector3<float>(1.0f, 1.0f, 1.0f), 0.2f, 0.3f);
    Update(0.0f);
}

void CVerticalOpenAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        control->SetEffectTransform(canvas::MakeScaling(scale.x, scale.y, scale.z));
        control->SetEffectColor(kEffectWhite);
    }
}

bool CVerticalOpenAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CVerticalOpenAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
