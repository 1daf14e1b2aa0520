/** @file FlipSlideOutAnimation.h The flip slide, taking the control away from its place. */
#pragma once

#include "KorvaneXDK/mwt/FlipSlideAnimation.h"

namespace korvane::mwt
{

/// Registered as "FlipSlideOut": slides 32 units left and 32 down over 0.35 s (easing 0.3), fading out.
class CFlipSlideOutAnimation : public CFlipSlideAnimation
{
public:
    CFlipSlideOutAnimation() : CFlipSlideAnimation(false) {}
    ~CFlipSlideOutAnimation() override = default;
};

} // namespace korvane::mwt
