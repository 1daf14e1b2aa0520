/** @file ZoomOpenAnimation.h A growth to full size about the centre while fading in. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ScaleFadeInAnimation.h"

namespace korvane::mwt
{

/// Registered as "ZoomOpen"; the forms' opening after the skin is loaded: grows from 0.2 to 1 and fades in
/// over 0.5 s (easing 0.2).
class CZoomOpenAnimation : public CScaleFadeInAnimation
{
public:
    CZoomOpenAnimation();
    ~CZoomOpenAnimation() override;

    /// A new, unnamed instance (the console host uses it without the registry).
    static boost::shared_ptr<CAnimationComponent> Create();
};

} // namespace korvane::mwt
