/** @file LogoSplashForm.cpp The first screen. */
#include "frontend/forms/LogoSplashForm.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/TitleSplashForm.h"

CLogoSplashForm::CLogoSplashForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    ClosedEvent = [this](korvane::mwt::CForm* sender) { OnClosed(sender); };
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
}

CLogoSplashForm::~CLogoSplashForm() = default;

void CLogoSplashForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
}

void CLogoSplashForm::OnOpened(korvane::mwt::CForm*) {}

void CLogoSplashForm::OnClosed(korvane::mwt::CForm*)
{
    ShowForm(boost::shared_ptr<korvane::mwt::CForm>(new CTitleSplashForm()));
}

void CLogoSplashForm::OnUpdate(korvane::mwt::CComponent*, float seconds)
{
    if (IsClosing()) {
        return;
    }
    if (timer_.Step(seconds, [](const char* action) { return CFormSceneLink::WasPressed(action); })) {
        Close();
    }
}
