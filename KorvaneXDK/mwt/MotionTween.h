/** @file MotionTween.h A value eased from a start to an end value over a duration after a delay. */
#pragma once

#include <cmath>

#include "KorvaneXDK/core/Color4.h"
#include "KorvaneXDK/core/Vector3.h"
#include "KorvaneXDK/mwt/MotionTweenInterface.h"

// A zero duration makes the tween parameter NaN, which must clamp to the end value; finite-math
// builds would fold that comparison away.
#if defined(__FAST_MATH__) || defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "motion tweens need IEEE arithmetic: build without -ffast-math"
#endif

namespace korvane::mwt
{

/// For float, Vector3<float> and Color4<float> (each component independently). A new tween
/// has from = to = 0, duration 1, delay 0, easing 1 and time 0. Everything is 32-bit float
/// arithmetic.
template <typename T>
class TMotionTween : public IMotionTween
{
public:
    TMotionTween() = default;
    ~TMotionTween() override = default;

    void SetDuration(float duration) override { duration_ = duration; }
    float GetDuration() const override { return duration_; }
    void SetDelay(float delay) override { delay_ = delay; }
    float GetDelay() const override { return delay_; }
    void SetEasing(float easing) override { easing_ = easing; }
    float GetEasing() const override { return easing_; }
    void SetTime(float time) override { time_ = time; }
    float GetTime() const override { return time_; }
    void Rewind() override { time_ = 0.0f; }
    void JumpToEnd() override { time_ = delay_ + duration_; }
    bool IsFinished() const override { return time_ >= delay_ + duration_; }
    void Advance(float seconds) override { time_ += seconds; }

    virtual void SetFrom(T from) { from_ = from; }
    virtual T GetFrom() const { return from_; }
    virtual void SetTo(T to) { to_ = to; }
    virtual T GetTo() const { return to_; }

    /// t = (time - delay) / duration, clamped to [0, 1] with NaN taken as 1 (a zero duration
    /// at time == delay); f = t^e for e >= 1, else 1 - (1 - t)^(1/e) (a NaN exponent too);
    /// from + (to - from) * f.
    virtual T GetValue() const
    {
        float t = (time_ - delay_) / duration_;
        if (!(t < 1.0f)) {
            t = 1.0f;
        }
        if (t <= 0.0f) {
            t = 0.0f;
        }
        float f;
        if (easing_ >= 1.0f) {
            f = std::pow(t, easing_);
        } else {
            const float inverse = 1.0f / easing_;
            f = 1.0f - std::pow(1.0f - t, inverse);
        }
        const T range = to_ - from_;
        return from_ + range * f;
    }

private:
    T from_{};
    T to_{};
    float duration_ = 1.0f;
    float delay_ = 0.0f;
    float easing_ = 1.0f;
    float time_ = 0.0f;
};

extern template class TMotionTween<float>;
extern template class TMotionTween<Vector3<float>>;
extern template class TMotionTween<Color4<float>>;

} // namespace korvane::mwt
