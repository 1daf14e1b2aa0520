/** @file GameSelectForm.cpp The title menu. */
#include "frontend/forms/GameSelectForm.h"

#include "frontend/forms/CreditsForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardSelectForm.h"
#include "frontend/forms/OptionsForm.h"
#include "os/window/MessageQueue.h"

namespace
{

CGameSelectForm::GameStarter& Starter()
{
    static CGameSelectForm::GameStarter starter;
    return starter;
}

} // namespace

CGameSelectForm::CGameSelectForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CGameSelectForm::~CGameSelectForm()
{
    // The dialog may outlive the menu on the screen: it must not call back into it.
    if (exitDialog_) {
        exitDialog_->ClosedEvent.clear();
    }
}

void CGameSelectForm::SetGameStarter(GameStarter starter)
{
    Starter() = std::move(starter);
}

void CGameSelectForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    MainGameButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnMainGame(sender); };
    CompanionGameButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnCompanionGame(sender); };
    OptionsButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnOptions(sender); };
    LeaderboardsButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnLeaderboards(sender); };
    CreditsButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnCredits(sender); };
    ExitButton->ClickEvent = [this](korvane::mwt::CControl* sender) { OnExit(sender); };
}

void CGameSelectForm::OnOpened(korvane::mwt::CForm*)
{
    BringToFront();
    korvane::mwt::CForm::SetFocus();
    MainGameButton->SetFocus();
    CFormSceneLink::SetWallpaper(form_names::kImageTitleWallpaper);
}

void CGameSelectForm::OnKeyDown(korvane::mwt::CControl*, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    MenuCancel(*this, key, ExitButton.get(), [this] { OnExit(ExitButton.get()); });
}

void CGameSelectForm::OnMainGame(korvane::mwt::CControl*)
{
    StartGame(kMainGame);
}

void CGameSelectForm::OnCompanionGame(korvane::mwt::CControl*)
{
    StartGame(kCompanionGame);
}

void CGameSelectForm::OnOptions(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    boost::shared_ptr<COptionsForm> options(new COptionsForm());
    // Entered afresh: the options menu opens on its first button.
    COptionsForm::ResetFocusIndex();
    ShowForm(options);
    Close();
}

void CGameSelectForm::StartGame(std::int32_t game)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    if (Starter()) {
        Starter()(this, game);
        return;
    }
    // The game's form brings a new title menu back when it closes.
    Close();
    CFormSceneLink::StartGame(game);
}

void CGameSelectForm::OnLeaderboards(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CLeaderboardSelectForm>(new CLeaderboardSelectForm()));
}

void CGameSelectForm::OnCredits(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CCreditsForm>(new CCreditsForm()));
}

void CGameSelectForm::OnExit(korvane::mwt::CControl*)
{
    if (IsClosing()) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Decide);
    exitDialog_.reset(new CDialogForm(2, "CONFIRM", CFormSceneLink::GetText("title_exit_1"),
                                      CFormSceneLink::GetText("title_exit_2")));
    exitDialog_->ClosedEvent = [this](korvane::mwt::CForm* sender) { OnExitDialogClosed(sender); };
    ShowForm(exitDialog_);
}

void CGameSelectForm::OnExitDialogClosed(korvane::mwt::CForm*)
{
    const bool accepted = exitDialog_ && exitDialog_->IsAccepted();
    if (accepted) {
        os::window::PostQuitMessage(0);
    } else {
        SetFocus();
    }
}
