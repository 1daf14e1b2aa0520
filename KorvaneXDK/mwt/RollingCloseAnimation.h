/** @file RollingCloseAnimation.h The rolling motion, rolling the control up out of view. */
#pragma once

#include "KorvaneXDK/mwt/RollingAnimation.h"

namespace korvane::mwt
{

/// Registered as "RollingClose"; the default closing of forms: the reverse of CRollingOpenAnimation, turning the
/// other way, finished at 0.5 s.
class CRollingCloseAnimation : public CRollingAnimation
{
public:
    CRollingCloseAnimation() : CRollingAnimation(false) {}
    ~CRollingCloseAnimation() override = default;
};

} // namespace korvane::mwt
