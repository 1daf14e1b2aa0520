/** @file VerticalCenterCloseAnimation.h The height scaled about the control's centre. */
#pragma once

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Rolls the control up into a flat line through its centre in DurationMs after DelayMs (easing 0.25: fast, then settling); white.
/// "VerticalCenterClose" is <200, 0>, "VerticalCenterCloseSlowly" <350, 0>.
/// Finished when the tween is, delay included.
template <int DurationMs, int DelayMs>
class TVerticalCenterCloseAnimation : public CAnimationComponent
{
public:
    TVerticalCenterCloseAnimation() = default;
    ~TVerticalCenterCloseAnimation() override = default;

    void Initialize() override
    {
        SetUpTween(scale_, Vector3<float>(1.0f, 1.0f, 1.0f), Vector3<float>(1.0f, 0.0f, 1.0f),
                   static_cast<float>(DurationMs) / 1000.0f, 0.25f, static_cast<float>(DelayMs) / 1000.0f);
        Update(0.0f);
    }

    void Update(float seconds) override
    {
        scale_.Advance(seconds);
        if (CControl* control = GetAnimatedControl(GetParent())) {
            const Vector3<float> scale = scale_.GetValue();
            control->SetEffectTransform(AboutCentre(canvas::MakeScaling(scale.x, scale.y, scale.z), *control));
            control->SetEffectColor(kEffectWhite);
        }
    }

    bool IsFinished() const override { return scale_.IsFinished(); }
    bool IsCompleted() const override { return IsFinished(); }

private:
    TMotionTween<Vector3<float>> scale_;
};

} // namespace korvane::mwt
