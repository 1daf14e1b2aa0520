/** @file VerticalCenterOpenAnimation.h The height scaled about the control's centre, unrolling it. */
#pragma once

#include "KorvaneXDK/mwt/VerticalCenterScaleAnimation.h"

namespace korvane::mwt
{

/// Unrolls from a flat line through the centre to full height in DurationMs after DelayMs (easing 0.25: fast, then settling); white.
/// "VerticalCenterOpen" is <200, 0>, "VerticalCenterOpenSlowly" <350, 0>,
/// "VerticalCenterOpenSlowlyDelay" <350, 200> (flat for its first 0.2 s, finished at 0.55 s).
template <int DurationMs, int DelayMs>
class TVerticalCenterOpenAnimation : public TVerticalCenterScaleAnimation<true, DurationMs, DelayMs>
{
public:
    TVerticalCenterOpenAnimation() = default;
    ~TVerticalCenterOpenAnimation() override = default;
};

} // namespace korvane::mwt
