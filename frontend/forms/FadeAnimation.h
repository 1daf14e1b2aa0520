/** @file FadeAnimation.h The splashes' and the wallpaper's fades of the effect colour's alpha. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/AnimationEffect.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MotionTween.h"

/// The alpha from FromAlpha/255 to ToAlpha/255 over DurationMs, linear; the colour stays white.
/// Finished once its time reaches the duration. A parent that is not a control only runs the
/// clock. Not registered by name: the forms take the factories below.
template <int DurationMs, int FromAlpha, int ToAlpha>
class TFadeAnimation : public korvane::mwt::CAnimationComponent
{
public:
    /// Sets the motion up and shows its first frame at once.
    void Initialize() override
    {
        korvane::mwt::SetUpTween(color_, korvane::Color4<float>(1.0f, 1.0f, 1.0f, FromAlpha / 255.0f),
                                 korvane::Color4<float>(1.0f, 1.0f, 1.0f, ToAlpha / 255.0f),
                                 static_cast<float>(DurationMs) / 1000.0f, 1.0f);
        Update(0.0f);
    }

    void Update(float seconds) override
    {
        color_.Advance(seconds);
        if (auto* control = dynamic_cast<korvane::mwt::CControl*>(GetParent())) {
            control->SetEffectColor(color_.GetValue());
        }
    }

    bool IsFinished() const override { return color_.IsFinished(); }
    bool IsCompleted() const override { return IsFinished(); }

private:
    korvane::mwt::TMotionTween<korvane::Color4<float>> color_;
};

/// The splashes' fades, 0.45 s.
boost::shared_ptr<korvane::mwt::CAnimationComponent> CreateSplashFadeIn();
boost::shared_ptr<korvane::mwt::CAnimationComponent> CreateSplashFadeOut();
/// The wallpaper's cross-fade halves, 0.5 s.
boost::shared_ptr<korvane::mwt::CAnimationComponent> CreateWallpaperFadeIn();
boost::shared_ptr<korvane::mwt::CAnimationComponent> CreateWallpaperFadeOut();
