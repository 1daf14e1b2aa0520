/** @file SoftTouchAnimation.cpp The press of a button: a quick swell and a return to size, about the centre. */
#include "KorvaneXDK/mwt/SoftTouchAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CSoftTouchAnimation::CSoftTouchAnimation() = default;

CSoftTouchAnimation::~CSoftTouchAnimation() = default;

void CSoftTouchAnimation::Initialize()
{
    SetUpTween(grow_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(1.12f, 1.12f, 1.0f), 0.04f, 0.6f);
    // The float nearest 1 / 1.12, so that 1.12 times it is exactly 1.
    SetUpTween(shrink_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(0.89285713f, 0.89285713f, 1.0f), 0.12f, 0.6f,
               0.12f);
    Update(0.0f);
}

void CSoftTouchAnimation::Update(float seconds)
{
    grow_.Advance(seconds);
    shrink_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> a = grow_.GetValue();
        const Vector3<float> b = shrink_.GetValue();
        control->SetEffectTransform(AboutCentre(canvas::MakeScaling(a.x * b.x, a.y * b.y, a.z * b.z), *control));
        control->SetEffectColor(kEffectWhite);
    }
}

bool CSoftTouchAnimation::IsFinished() const
{
    return shrink_.IsFinished();
}

bool CSoftTouchAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
