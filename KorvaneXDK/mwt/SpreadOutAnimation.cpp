/** @file SpreadOutAnimation.cpp A swell to 1.4 while fading out, about the centre. */
#include "KorvaneXDK/mwt/SpreadOutAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CSpreadOutAnimation::CSpreadOutAnimation() = default;

CSpreadOutAnimation::~CSpreadOutAnimation() = default;

boost::shared_ptr<CAnimationComponent> CSpreadOutAnimation::Create()
{
    return boost::shared_ptr<CAnimationComponent>(new CSpreadOutAnimation());
}

void CSpreadOutAnimation::Initialize()
{
    SetUpTween(spread_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(1.4f, 1.4f, 1.0f), 0.5f, 0.3f);
    // The float nearest 1 / 1.4, so that 1.4 times it is exactly 1.
    SetUpTween(snapBack_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(0.71428573f, 0.71428573f, 1.0f), 0.01f, 1.0f,
               0.5f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), 0.5f, 0.3f);
    Update(0.0f);
}

void CSpreadOutAnimation::Update(float seconds)
{
    spread_.Advance(seconds);
    snapBack_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> a = spread_.GetValue();
        const Vector3<float> b = snapBack_.GetValue();
        control->SetEffectTransform(AboutCentre(canvas::MakeScaling(a.x * b.x, a.y * b.y, a.z * b.z), *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CSpreadOutAnimation::IsFinished() const
{
    return spread_.IsFinished();
}

bool CSpreadOutAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
