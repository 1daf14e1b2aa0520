/** @file MotionTweenInterface.h The value-independent half of a motion tween: its clock, timing and easing. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace korvane::mwt
{

/// A tween holds its own clock, which its owner advances; it knows nothing of controls or
/// time sources. No operation validates or clamps its argument.
class IMotionTween : public IInterface
{
public:
    ~IMotionTween() override = default;

    /// Seconds of motion after the delay.
    virtual void SetDuration(float duration) = 0;
    virtual float GetDuration() const = 0;
    /// Seconds before the motion begins.
    virtual void SetDelay(float delay) = 0;
    virtual float GetDelay() const = 0;
    /// The power-curve exponent: 1 linear, above 1 slow start, below 1 fast start.
    virtual void SetEasing(float easing) = 0;
    virtual float GetEasing() const = 0;
    /// The clock in seconds.
    virtual void SetTime(float time) = 0;
    virtual float GetTime() const = 0;
    /// time = 0.
    virtual void Rewind() = 0;
    /// time = delay + duration.
    virtual void JumpToEnd() = 0;
    /// time >= delay + duration, on the raw clock.
    virtual bool IsFinished() const = 0;
    /// time += seconds; the clock runs on past the end.
    virtual void Advance(float seconds) = 0;
};

} // namespace korvane::mwt
