/** @file RollingOpenAnimation.cpp A turn about z and a squash of the height, about the centre, with a fade. */
#include "KorvaneXDK/mwt/RollingOpenAnimation.h"

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

CRollingOpenAnimation::CRollingOpenAnimation() = default;

CRollingOpenAnimation::~CRollingOpenAnimation() = default;

void CRollingOpenAnimation::Initialize()
{
    SetUpTween(scale_, Vector3<float>(1.0f, 0.0f, 1.0f), Vector3<float>(1.0f, 1.0f, 1.0f), 0.5f, 0.3f);
    SetUpTween(angle_, 1.0471976f, 0.0f, 0.5f, 0.3f);
    SetUpTween(color_, Color4<float>(1.0f, 1.0f, 1.0f, 0.0f), Color4<float>(1.0f, 1.0f, 1.0f, 1.0f), 0.5f, 0.3f);
    Update(0.0f);
}

void CRollingOpenAnimation::Update(float seconds)
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

bool CRollingOpenAnimation::IsFinished() const
{
    return scale_.IsFinished();
}

bool CRollingOpenAnimation::IsCompleted() const
{
    return IsFinished();
}

} // namespace korvane::mwt
