/** @file ZoomOpenAnimation.cpp A growth to full size about the centre while fading in. */
#include "KorvaneXDK/mwt/ZoomOpenAnimation.h"

namespace korvane::mwt
{

CZoomOpenAnimation::CZoomOpenAnimation() : CScaleFadeInAnimation(0.2f, 0.2f) {}

CZoomOpenAnimation::~CZoomOpenAnimation() = default;

boost::shared_ptr<CAnimationComponent> CZoomOpenAnimation::Create()
{
    return boost::shared_ptr<CAnimationComponent>(new CZoomOpenAnimation());
}

} // namespace korvane::mwt
