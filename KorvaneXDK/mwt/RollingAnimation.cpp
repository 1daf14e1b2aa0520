/** @file RollingAnimation.cpp A turn about z and a squash of the height, about the centre, with a fade. */
#include "KorvaneXDK/mwt/RollingAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CRollingAnimation::CRollingAnimation(bool opening) : opening_(opening) {}

CRollingAnimation::~CRollingAnimation() = default;

void CRollingAnimation::Initialize()
{
    const Vector3<float> flat(1.0f, 0.0f, 1.0f);
    const Vector3<float> full(1.0f, 1.0f, 1.0f);
    const Color4<float> clear(1.0f, 1.0f, 1.0f, 0.0f);
    const Color4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    if (opening_) {
        SetUpTween(scale_, flat, full, 0.5f, 0.3f);
        SetUpTween(angle_, 1.0471976f, 0.0f, 0.5f, 0.3f);
        SetUpTween(color_, clear, white, 0.5f, 0.3f);
    } else {
        SetUpTween(scale_, full, flat, 0.5f, 0.3f);
        SetUpTween(angle_, 0.0f, -1.0471976f, 0.5f, 0.3f);
        SetUpTween(color_, white, clear, 0.5f, 0.3f);
    }
    Update(0.0f);
}

void CRollingAnimation::Update(float seconds)
{
    scale_.Advance(seconds);
    angle_.Advance(seconds);
    color_.Advance(seconds);
    if (CControl* control = GetAnimatedControl(GetParent())) {
        const Vector3<float> scale = scale_.GetValue();
        // The squash acts first, so the flattened control is a line turned by the angle.
        const Matrix4 local =
            canvas::Multiply(canvas::MakeRotationZ(angle_.GetValue()), canvas::MakeScaling(scale.x, scale.y, scale.z));
        control->SetEffectTransform(AboutCentre(local, *control));
        control->SetEffectColor(color_.GetValue());
    }
}

bool CRollingAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CRollingAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
