/** @file TiltAnimation.cpp A turn out of the screen about a slanted in-plane axis through the centre, with a fade. */
#include "KorvaneXDK/mwt/TiltAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CTiltAnimation::CTiltAnimation(bool opening) : opening_(opening) {}

CTiltAnimation::~CTiltAnimation() = default;

void CTiltAnimation::Initialize()
{
    const Color4<float> clear(1.0f, 1.0f, 1.0f, 0.0f);
    const Color4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    if (opening_) {
        SetUpTween(angle_, -1.5707964f, 0.0f, 0.5f, 0.3f);
        SetUpTween(color_, clear, white, 0.5f, 0.3f);
    } else {
        SetUpTween(angle_, 0.0f, 1.5707964f, 0.5f, 0.3f);
        SetUpTween(color_, white, clear, 0.5f, 0.3f);
    }
    Update(0.0f);
}

void CTiltAnimation::Update(float seconds)
{
    angle_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Matrix4 turn = canvas::MakeRotation(kTiltAxis, angle_.GetValue());
        control->SetEffectTransform(AboutCentre(turn, *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CTiltAnimation::IsFinished() const
{
    return angle_.IsFinished();
}

bool CTiltAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
