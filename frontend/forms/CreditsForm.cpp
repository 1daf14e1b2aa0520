/** @file CreditsForm.cpp The credits screen. */
#include "frontend/forms/CreditsForm.h"

#include <string>

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LeaderboardDialogs.h"

CCreditsForm::CCreditsForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CCreditsForm::~CCreditsForm() = default;

void CCreditsForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    for (int i = 0; i < kLineCount; ++i) {
        Lines[static_cast<std::size_t>(i)]->SetCaption(LeaderboardText("credits_" + std::to_string(i + 1)));
    }
}

void CCreditsForm::OnOpened(korvane::mwt::CForm*)
{
    BringToFront();
    korvane::mwt::CForm::SetFocus();
    KeyPanel->SetFocus();
}

void CCreditsForm::OnKeyDown(korvane::mwt::CControl*, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    if (key == form_names::kKeyEscape) {
        CFormSceneLink::PlaySound(EUiSound::Cancel);
    } else if (key == form_names::kKeyReturn) {
        CFormSceneLink::PlaySound(EUiSound::Decide);
    } else {
        return;
    }
    Close();
    ShowForm(boost::shared_ptr<CGameSelectForm>(new CGameSelectForm()));
}
