/** @file GameSelectForm.h The title menu: the two games, the settings, the leaderboards, the credits and Exit. */
#pragma once

#include <cstdint>

#include <boost/function.hpp>
#include <boost/shared_ptr.hpp>

#include "frontend/forms/FocusPreservedForm.h"
#include "frontend/forms/GameSelectFormDesign.h"

class CDialogForm;

/// Sets the title wallpaper when it opens and reopens on the button it left by. Exit asks for
/// confirmation and, accepted, posts the quit message. Options, Leaderboards and Credits open
/// their screens; the game buttons start a game in a main form.
class CGameSelectForm : public TFocusPreservedForm<CGameSelectFormDesign>
{
public:
    /// The two games, as the game starter hears them.
    static constexpr std::int32_t kMainGame = 0;
    static constexpr std::int32_t kCompanionGame = 1;
    using GameStarter = boost::function<void(CGameSelectForm*, std::int32_t)>;

    CGameSelectForm();
    ~CGameSelectForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnMainGame(korvane::mwt::CControl* sender);
    virtual void OnCompanionGame(korvane::mwt::CControl* sender);
    virtual void OnOptions(korvane::mwt::CControl* sender);
    virtual void OnLeaderboards(korvane::mwt::CControl* sender);
    virtual void OnCredits(korvane::mwt::CControl* sender);
    virtual void OnExit(korvane::mwt::CControl* sender);
    virtual void OnExitDialogClosed(korvane::mwt::CForm* sender);

    /// What a game button does after its sound. Empty: this menu closes and a main form is
    /// added to the screen and starts the game.
    static void SetGameStarter(GameStarter starter);

    const boost::shared_ptr<CDialogForm>& GetExitDialog() const { return exitDialog_; }

private:
    void StartGame(std::int32_t game);

    boost::shared_ptr<CDialogForm> exitDialog_;
};
