/** @file FlipSlideOutAnimation.cpp A slide by whole units toward or away from the control's place, with a fade. */
#include "KorvaneXDK/mwt/FlipSlideOutAnimation.h"

#include <cmath>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CFlipSlideOutAnimation::CFlipSlideOutAnimation() = default;

CFlipSlideOutAnimation::~CFlipSlideOutAnimation() = default;

void CFlipSlideOutAnimation::Initialize()
{
    SetUpTween(offset_, Vector3<float>(0.0f, 0.0f, 0.0f), Vector3<float>(-32.0f, 32.0f, 0.0f), 0.35f, 0.3f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), 0.35f, 0.3f);
    Update(0.0f);
}

void CFlipSlideOutAnimation::Update(float seconds)
{
    offset_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> offset = offset_.GetValue();
        // Whole units keep the control's texels on the screen's pixels while it moves.
        control->SetEffectTransform(
            canvas::MakeTranslation(std::floor(offset.x + 0.5f), std::floor(offset.y + 0.5f), offset.z));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CFlipSlideOutAnimation::IsFinished() const
{
    return offset_.IsFinished();
}

bool CFlipSlideOutAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
