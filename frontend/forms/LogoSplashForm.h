/** @file LogoSplashForm.h The first screen: the makers' logos, then the title splash. */
#pragma once

#include "frontend/forms/LogoSplashFormDesign.h"
#include "frontend/forms/SplashTimer.h"

/// Leaves after 2.5 s, or at decide or cancel once 0.3 s have passed, and opens the title
/// splash when its fade-out ends. It never takes the screen's focus, so the window scene leaves
/// the decide and cancel latches to it.
class CLogoSplashForm : public CLogoSplashFormDesign
{
public:
    CLogoSplashForm();
    ~CLogoSplashForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnClosed(korvane::mwt::CForm* sender);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);

    const CSplashTimer& GetTimer() const { return timer_; }

private:
    CSplashTimer timer_;
};
