/** @file VerticalCenterCloseAnimation.h The height scaled about the control's centre, rolling it up. */
#pragma once

#include "KorvaneXDK/mwt/VerticalCenterScaleAnimation.h"

namespace korvane::mwt
{

/// Rolls the control up into a flat line through its centre in DurationMs after DelayMs (easing 0.25: fast, then settling); white.
/// "VerticalCenterClose" is <200, 0>, "VerticalCenterCloseSlowly" <350, 0>.
template <int DurationMs, int DelayMs>
class TVerticalCenterCloseAnimation : public TVerticalCenterScaleAnimation<false, DurationMs, DelayMs>
{
public:
    TVerticalCenterCloseAnimation() = default;
    ~TVerticalCenterCloseAnimation() override = default;
};

} // namespace korvane::mwt
