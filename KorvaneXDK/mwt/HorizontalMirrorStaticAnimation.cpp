/** @file HorizontalMirrorStaticAnimation.cpp The control mirrored left to right about its vertical centre line. */
#include "KorvaneXDK/mwt/HorizontalMirrorStaticAnimation.h"

#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CHorizontalMirrorStaticAnimation::CHorizontalMirrorStaticAnimation() = default;

CHorizontalMirrorStaticAnimation::~CHorizontalMirrorStaticAnimation() = default;

void CHorizontalMirrorStaticAnimation::Initialize()
{
    mirror_ = Matrix4();
    mirror_.m[0] = -1.0f;
    Update(0.0f);
}

void CHorizontalMirrorStaticAnimation::Update(float seconds)
{
    if (CControl* control = GetAnimatedControl(GetParent())) {
        control->SetEffectTransform(AboutCentre(mirror_, *control));
        control->SetEffectColor(kEffectWhite);
    }
}

bool CHorizontalMirrorStaticAnimation::IsFinished() const
{
    return true;
}

bool CHorizontalMirrorStaticAnimation::IsCompleted() const
{
    return true;
}

} // namespace korvane::mwt
