/** @file RollingOpenAnimation.h The rolling motion, unrolling the control into view. */
#pragma once

#include "KorvaneXDK/mwt/RollingAnimation.h"

namespace korvane::mwt
{

/// Registered as "RollingOpen"; the default opening of forms. It starts as a flat line through the centre turned by
/// 60 degrees and unrolls to the upright control in 0.5 s (easing 0.3) while fading in.
class CRollingOpenAnimation : public CRollingAnimation
{
public:
    CRollingOpenAnimation() : CRollingAnimation(true) {}
    ~CRollingOpenAnimation() override = default;
};

} // namespace korvane::mwt
