/** @file PauseForm.cpp The menu shown while a game is paused. */
#include "frontend/forms/PauseForm.h"

#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"

CPauseForm::CPauseForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CPauseForm::~CPauseForm() = default;

bool CPauseForm::IsExitRequested() const
{
    return exitRequested_;
}

void CPauseForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    ContinueButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnContinue(sender); };
    ExitButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnExitToMainMenu(sender); };
}

void CPauseForm::OnOpened(korvane::mwt::CForm*)
{
    // Continue keeps the focus as the first child that takes it.
    BringToFront();
    SetFocus();
}

void CPauseForm::OnKeyDown(korvane::mwt::CControl*, unsigned int key)
{
    if (IsClosing() || key != form_names::kKeyPause) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Cancel);
    exitRequested_ = false;
    Close();
}

void CPauseForm::OnContinue(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    exitRequested_ = false;
    Close();
}

void CPauseForm::OnExitToMainMenu(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    exitRequested_ = true;
    Close();
}
