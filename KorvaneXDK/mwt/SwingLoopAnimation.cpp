/** @file SwingLoopAnimation.cpp A swing about z, forever. */
#include "KorvaneXDK/mwt/SwingLoopAnimation.h"

#include <cmath>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CSwingLoopAnimation::CSwingLoopAnimation(float period, float amplitude, float phase)
    : period_(period), amplitude_(amplitude), phase_(phase), clock_(0.0f)
{}

CSwingLoopAnimation::~CSwingLoopAnimation() = default;

void CSwingLoopAnimation::Initialize()
{
    Update(0.0f);
}

void CSwingLoopAnimation::Update(float seconds)
{
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const float angle = amplitude_ * std::sin(kTwoPi * clock_ / period_ + phase_);
        const Vector2<float> size = control->GetSize();
        control->SetEffectTransform(AboutPoint(canvas::MakeRotationZ(angle), size.x / 2.0f, size.y / 4.0f));
        control->SetEffectColor(kEffectWhite);
    }
    clock_ += seconds;
}

bool CSwingLoopAnimation::IsFinished() const
{
    return false;
}

bool CSwingLoopAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
