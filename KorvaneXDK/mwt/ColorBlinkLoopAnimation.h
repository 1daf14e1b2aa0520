/** @file ColorBlinkLoopAnimation.h The effect colour pulsing between white and a fixed colour, forever. */
#pragma once

#include <cmath>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"

namespace korvane::mwt
{

/// PeriodMs: one pulse in milliseconds; Red, Green, Blue, Alpha: the far colour, 0 to 255. With
/// k = 0.5 + 0.5 cos(2 pi t / period) the colour is (1 - k) far + k white, so it starts white.
/// "SmoothBlinkLoop" is <1000, 255, 255, 255, 0>: alpha swings from 1 to 0 and back once a second.
/// Initialize restarts the pulse; the clock advances before the frame is written; never finished.
/// The transform is left as it is.
template <int PeriodMs, int Red, int Green, int Blue, int Alpha>
class TColorBlinkLoopAnimation : public CAnimationComponent
{
public:
    static_assert(PeriodMs > 0, "a blink needs a period");

    TColorBlinkLoopAnimation() = default;
    ~TColorBlinkLoopAnimation() override = default;

    void Initialize() override
    {
        clock_ = 0.0f;
        Update(0.0f);
    }

    void Update(float seconds) override
    {
        clock_ += seconds;
        if (CControl* control = GetAnimatedControl(GetParent())) {
            const float period = static_cast<float>(PeriodMs) / 1000.0f;
            const float k = 0.5f + 0.5f * std::cos(kTwoPi * clock_ / period);
            const Color4<float> far(static_cast<float>(Red) / 255.0f, static_cast<float>(Green) / 255.0f,
                                    static_cast<float>(Blue) / 255.0f, static_cast<float>(Alpha) / 255.0f);
            control->SetEffectColor(far * (1.0f - k) + kEffectWhite * k);
        }
    }

    bool IsFinished() const override { return false; }
    bool IsCompleted() const override { return false; }

private:
    float clock_ = 0.0f;
};

} // namespace korvane::mwt
