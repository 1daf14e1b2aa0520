/** @file VerticalCenterScaleAnimation.h The height scaled about the control's centre. */
#pragma once

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"
#include "KorvaneXDK/mwt/MotionTween.h"

namespace korvane::mwt
{

/// Between a flat line through the centre and full height in DurationMs after DelayMs (easing 0.25: fast, then
/// settling); white. Opening unrolls from the line, closing rolls up into it. Finished when the tween is, delay included.
template <bool Opening, int DurationMs, int DelayMs>
class TVerticalCenterScaleAnimation : public CAnimationComponent
{
public:
    ~TVerticalCenterScaleAnimation() override = default;

    void Initialize() override
    {
        const Vector3<float> flat(1.0f, 0.0f, 1.0f);
        const Vector3<float> full(1.0f, 1.0f, 1.0f);
        SetUpTween(scale_, Opening ? flat : full, Opening ? full : flat, static_cast<float>(DurationMs) / 1000.0f,
                   0.25f, static_cast<float>(DelayMs) / 1000.0f);
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

protected:
    TVerticalCenterScaleAnimation() = default;

private:
    TMotionTween<Vector3<float>> scale_;
};

} // namespace korvane::mwt
