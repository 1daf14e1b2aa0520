/** @file ZoomOpenAnimation.cpp A scale to full size about the centre while fading in. */
#include "KorvaneXDK/mwt/ZoomOpenAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CZoomOpenAnimation::CZoomOpenAnimation() = default;

CZoomOpenAnimation::~CZoomOpenAnimation() = default;

boost::shared_ptr<CAnimationComponent> CZoomOpenAnimation::Create()
{
    return boost::shared_ptr<CAnimationComponent>(new CZoomOpenAnimation());
}

void CZoomOpenAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(0.2f, 0.2f, 1.0f), Vector3<float>(1.0f, 1.0f, 1.0f), 0.5f, 0.2f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.5f, 0.2f);
    Update(0.0f);
}

void CZoomOpenAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        control->SetEffectTransform(AboutCentre(canvas::MakeScaling(scale.x, scale.y, scale.z), *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CZoomOpenAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CZoomOpenAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
