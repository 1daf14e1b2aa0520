/** @file LeaderboardSelectForm.h The leaderboard chooser: a title and a game mode, then the list view. */
#pragma once

#include <cstdint>

#include "frontend/forms/LeaderboardSelectFormDesign.h"

/// Search opens the list view, posts the download job and closes; Exit or Escape goes back to
/// the title menu.
class CLeaderboardSelectForm : public CLeaderboardSelectFormDesign
{
public:
    CLeaderboardSelectForm();
    ~CLeaderboardSelectForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void Search(korvane::mwt::CControl* sender);
    virtual void OnExit(korvane::mwt::CControl* sender);
    virtual void OnTitleLabelGotFocus(korvane::mwt::CControl* sender);
    virtual void OnGameModeLabelGotFocus(korvane::mwt::CControl* sender);
    virtual void OnSearchButtonGotFocus(korvane::mwt::CControl* sender);
    virtual void OnExitButtonGotFocus(korvane::mwt::CControl* sender);
    virtual void OnTitleChanged(korvane::mwt::CComponent* sender);
    virtual void OnGameModeChanged(korvane::mwt::CComponent* sender);
    virtual void SetSelection(std::int32_t title, std::int32_t mode);

    /// Refills the game modes for the selected title and selects the first.
    void FillGameModes();
};
