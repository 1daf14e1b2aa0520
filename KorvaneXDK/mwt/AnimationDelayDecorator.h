/** @file AnimationDelayDecorator.h An animation started late. */
#pragma once

#include "KorvaneXDK/mwt/AnimationComponent.h"

namespace korvane::mwt
{

/// Runs an Inner animation (held by value) DelayMs after it is attached. Initialize is the
/// inner one's, so the control shows the inner first frame during the delay. The inner
/// timeline starts with the frame in which the delay is reached, and that frame's full seconds
/// go to it, so the whole may finish up to one frame before delay + inner duration.
/// "TiltCloseDelay" is <CTiltCloseAnimation, 200>, "SpreadOutDelay" <CSpreadOutAnimation, 400>.
template <typename Inner, int DelayMs>
class TAnimationDelayDecorator : public CAnimationComponent
{
public:
    TAnimationDelayDecorator() = default;
    ~TAnimationDelayDecorator() override = default;

    /// Kept and passed on: the inner animation writes to the same control.
    void SetParent(CComponent* parent) override
    {
        CAnimationComponent::SetParent(parent);
        inner_.SetParent(parent);
    }

    void SetEnabled(bool enabled) override
    {
        CAnimationComponent::SetEnabled(enabled);
        inner_.SetEnabled(enabled);
    }

    void Initialize() override { inner_.Initialize(); }

    void Update(float seconds) override
    {
        elapsed_ += seconds;
        if (DelayPassed()) {
            inner_.Update(seconds);
        }
    }

    bool IsFinished() const override { return DelayPassed() && inner_.IsFinished(); }
    bool IsCompleted() const override { return DelayPassed() && inner_.IsCompleted(); }

    Inner& GetInner() { return inner_; }

private:
    bool DelayPassed() const { return elapsed_ >= static_cast<float>(DelayMs) / 1000.0f; }

    Inner inner_;
    float elapsed_ = 0.0f;
};

} // namespace korvane::mwt
