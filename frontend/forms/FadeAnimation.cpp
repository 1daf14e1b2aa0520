/** @file FadeAnimation.cpp The fade factories. */
#include "frontend/forms/FadeAnimation.h"

using korvane::mwt::CAnimationComponent;

boost::shared_ptr<CAnimationComponent> CreateSplashFadeIn()
{
    return boost::shared_ptr<CAnimationComponent>(new TFadeAnimation<450, 0, 255>());
}

boost::shared_ptr<CAnimationComponent> CreateSplashFadeOut()
{
    return boost::shared_ptr<CAnimationComponent>(new TFadeAnimation<450, 255, 0>());
}

boost::shared_ptr<CAnimationComponent> CreateWallpaperFadeIn()
{
    return boost::shared_ptr<CAnimationComponent>(new TFadeAnimation<500, 0, 255>());
}

boost::shared_ptr<CAnimationComponent> CreateWallpaperFadeOut()
{
    return boost::shared_ptr<CAnimationComponent>(new TFadeAnimation<500, 255, 0>());
}
