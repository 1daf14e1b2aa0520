/** @file TitleSplashForm.h The second screen: the title, then the title menu. */
#pragma once

#include "frontend/forms/SplashTimer.h"
#include "frontend/forms/TitleSplashFormDesign.h"

/// The logo splash's timing; when it leaves it opens the title menu at once, in front of its
/// own fade-out.
class CTitleSplashForm : public CTitleSplashFormDesign
{
public:
    CTitleSplashForm();
    ~CTitleSplashForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnClosed(korvane::mwt::CForm* sender);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);

    const CSplashTimer& GetTimer() const { return timer_; }

private:
    CSplashTimer timer_;
};
