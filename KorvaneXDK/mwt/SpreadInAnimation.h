/** @file SpreadInAnimation.h A shrink to full size about the centre while fading in. */
#pragma once

#include "KorvaneXDK/mwt/ScaleFadeInAnimation.h"

namespace korvane::mwt
{

/// Registered as "SpreadIn": shrinks from 1.4 to 1 and fades in over 0.5 s (easing 0.3).
class CSpreadInAnimation : public CScaleFadeInAnimation
{
public:
    CSpreadInAnimation() : CScaleFadeInAnimation(1.4f, 0.3f) {}
    ~CSpreadInAnimation() override = default;
};

} // namespace korvane::mwt
