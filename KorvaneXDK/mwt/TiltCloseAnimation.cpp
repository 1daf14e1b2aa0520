/** @file TiltCloseAnimation.cpp A turn out of the screen about a slanted in-plane axis through the centre, with a fade. */
#include "KorvaneXDK/mwt/TiltCloseAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CTiltCloseAnimation::CTiltCloseAnimation() = default;

CTiltCloseAnimation::~CTiltCloseAnimation() = default;

void CTiltCloseAnimation::Initialize()
{
    SetUpTween(angle_, 0.0f, 1.5707964f, 0.5f, 0.3f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), 0.5f, 0.3f);
    Update(0.0f);
}

void CTiltCloseAnimation::Update(float seconds)
{
    angle_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Matrix4 turn = canvas::MakeRotation(kTiltAxis, angle_.GetValue());
        control->SetEffectTransform(AboutCentre(turn, *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CTiltCloseAnimation::IsFinished() const
{
    return angle_.IsFinished();
}

bool CTiltCloseAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
