/** @file FlipSlideInAnimation.h The flip slide, bringing the control to its place. */
#pragma once

#include "KorvaneXDK/mwt/FlipSlideAnimation.h"

namespace korvane::mwt
{

/// Registered as "FlipSlideIn": slides in from 32 units right and 32 up over 0.35 s (easing 0.3), fading in.
class CFlipSlideInAnimation : public CFlipSlideAnimation
{
public:
    CFlipSlideInAnimation() : CFlipSlideAnimation(true) {}
    ~CFlipSlideInAnimation() override = default;
};

} // namespace korvane::mwt
