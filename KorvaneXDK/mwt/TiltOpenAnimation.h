/** @file TiltOpenAnimation.h The tilt motion, turning the control into view. */
#pragma once

#include "KorvaneXDK/mwt/TiltAnimation.h"

namespace korvane::mwt
{

/// Registered as "TiltOpen": from a quarter turn about the tilt axis to upright in 0.5 s (easing 0.3), fading in.
class CTiltOpenAnimation : public CTiltAnimation
{
public:
    CTiltOpenAnimation() : CTiltAnimation(true) {}
    ~CTiltOpenAnimation() override = default;
};

} // namespace korvane::mwt
