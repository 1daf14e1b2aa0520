/** @file FlipSlideAnimation.cpp A slide by whole units toward or away from the control's place, with a fade. */
#include "KorvaneXDK/mwt/FlipSlideAnimation.h"

#include <cmath>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CFlipSlideAnimation::CFlipSlideAnimation(bool slidingIn) : slidingIn_(slidingIn) {}

CFlipSlideAnimation::~CFlipSlideAnimation() = default;

void CFlipSlideAnimation::Initialize()
{
    const Vector3<float> home(0.0f, 0.0f, 0.0f);
    const Color4<float> clear(1.0f, 1.0f, 1.0f, 0.0f);
    const Color4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    if (slidingIn_) {
        SetUpTween(offset_, Vector3<float>(32.0f, -32.0f, 0.0f), home, 0.35f, 0.3f);
        SetUpTween(color_, clear, white, 0.35f, 0.3f);
    } else {
        SetUpTween(offset_, home, Vector3<float>(-32.0f, 32.0f, 0.0f), 0.35f, 0.3f);
        SetUpTween(color_, white, clear, 0.35f, 0.3f);
    }
    Update(0.0f);
}

void CFlipSlideAnimation::Update(float seconds)
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

bool CFlipSlideAnimation::IsFinished() const
{
    return offset_.IsFinished();
}

bool CFlipSlideAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
