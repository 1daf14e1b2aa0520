/** @file TitleSplashForm.cpp The second screen. */
#include "frontend/forms/TitleSplashForm.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/GameSelectForm.h"

CTitleSplashForm::CTitleSplashForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    ClosedEvent = [this](korvane::mwt::CForm* sender) { OnClosed(sender); };
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
}

CTitleSplashForm::~CTitleSplashForm() = default;

void CTitleSplashForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
}

void CTitleSplashForm::OnOpened(korvane::mwt::CForm*) {}

void CTitleSplashForm::OnClosed(korvane::mwt::CForm*) {}

void CTitleSplashForm::OnUpdate(korvane::mwt::CComponent*, float seconds)
{
    if (IsClosing()) {
        return;
    }
    if (timer_.Step(seconds, [](const char* action) { return CFormSceneLink::WasPressed(action); })) {
        Close();
        ShowForm(boost::shared_ptr<korvane::mwt::CForm>(new CGameSelectForm()));
    }
}
