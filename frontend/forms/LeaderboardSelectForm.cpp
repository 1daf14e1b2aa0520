/** @file LeaderboardSelectForm.cpp The leaderboard chooser. */
#include "frontend/forms/LeaderboardSelectForm.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/LeaderboardDownloadJob.h"
#include "frontend/forms/LeaderboardListForm.h"
#include "frontend/forms/LeaderboardModeNames.h"

CLeaderboardSelectForm::CLeaderboardSelectForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CLeaderboardSelectForm::~CLeaderboardSelectForm() = default;

void CLeaderboardSelectForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    TitleSelector->GetItems() = {kLeaderboardTitleNames[0], kLeaderboardTitleNames[1]};
    FillGameModes();
    SearchButton->ClickEvent = [this](korvane::mwt::CControl* sender) { Search(sender); };
    ExitButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnExit(sender); };
    TitleSelector->SelectionChangedEvent = [this](korvane::mwt::CHorizontalSelector* sender) {
        OnTitleChanged(sender);
    };
    GameModeSelector->SelectionChangedEvent = [this](korvane::mwt::CHorizontalSelector* sender) {
        OnGameModeChanged(sender);
    };
    TitleLabel->GotFocusEvent = [this](korvane::mwt::CControl* sender) { OnTitleLabelGotFocus(sender); };
    GameModeLabel->GotFocusEvent = [this](korvane::mwt::CControl* sender) { OnGameModeLabelGotFocus(sender); };
    SearchButton->GotFocusEvent = [this](korvane::mwt::CControl* sender) { OnSearchButtonGotFocus(sender); };
    ExitButton->GotFocusEvent = [this](korvane::mwt::CControl* sender) { OnExitButtonGotFocus(sender); };
}

void CLeaderboardSelectForm::OnOpened(korvane::mwt::CForm*)
{
    korvane::mwt::CForm::SetFocus();
    TitleLabel->SetFocus();
}

void CLeaderboardSelectForm::OnKeyDown(korvane::mwt::CControl* sender, unsigned int key)
{
    if (key == form_names::kKeyEscape) {
        OnExit(sender);
    }
}

void CLeaderboardSelectForm::Search(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    boost::shared_ptr<CLeaderboardListForm> list(new CLeaderboardListForm());
    ShowForm(list);
    const std::int32_t title = TitleSelector->GetSelectedIndex();
    const std::int32_t mode = GameModeSelector->GetSelectedIndex();
    list->SetBoard(title, mode);
    PostLeaderboardDownload(title, mode, list);
    Close();
}

void CLeaderboardSelectForm::OnExit(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CGameSelectForm>(new CGameSelectForm()));
}

void CLeaderboardSelectForm::OnTitleLabelGotFocus(korvane::mwt::CControl*) {}
void CLeaderboardSelectForm::OnGameModeLabelGotFocus(korvane::mwt::CControl*) {}
void CLeaderboardSelectForm::OnSearchButtonGotFocus(korvane::mwt::CControl*) {}
void CLeaderboardSelectForm::OnExitButtonGotFocus(korvane::mwt::CControl*) {}

void CLeaderboardSelectForm::OnTitleChanged(korvane::mwt::CComponent*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    FillGameModes();
}

void CLeaderboardSelectForm::OnGameModeChanged(korvane::mwt::CComponent*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
}

void CLeaderboardSelectForm::FillGameModes()
{
    const std::int32_t title = TitleSelector->GetSelectedIndex();
    std::vector<std::string>& items = GameModeSelector->GetItems();
    if (title == 0) {
        items.assign(std::begin(kMainGameModeNames), std::end(kMainGameModeNames));
    } else if (title == 1) {
        items.assign(std::begin(kCompanionGameModeNames), std::end(kCompanionGameModeNames));
    } else {
        return;
    }
    GameModeSelector->SetSelectedIndex(0);
}

void CLeaderboardSelectForm::SetSelection(std::int32_t title, std::int32_t mode)
{
    TitleSelector->SetSelectedIndex(title);
    FillGameModes();
    GameModeSelector->SetSelectedIndex(mode);
}
