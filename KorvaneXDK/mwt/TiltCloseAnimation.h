/** @file TiltCloseAnimation.h The tilt motion, turning the control out of view. */
#pragma once

#include "KorvaneXDK/mwt/TiltAnimation.h"

namespace korvane::mwt
{

/// Registered as "TiltClose": from upright to a quarter turn about the tilt axis in 0.5 s (easing 0.3), fading out.
class CTiltCloseAnimation : public CTiltAnimation
{
public:
    CTiltCloseAnimation() : CTiltAnimation(false) {}
    ~CTiltCloseAnimation() override = default;
};

} // namespace korvane::mwt
