/** @file TitleMenuTest.cpp The title menu on the OpenGL device: its wallpaper, focus order, clicks with the decide
 * sound, the cancel rule, the exit confirmation and the remembered focus. */
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/WallpaperForm.h"

using namespace formtest;

class TitleMenuTest : public FormsTest
{
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        CGameSelectForm::ResetFocusIndex();
        CGameSelectForm::SetGameStarter([this](CGameSelectForm*, std::int32_t game) { started.push_back(game); });
    }

    void TearDown() override
    {
        CGameSelectForm::SetGameStarter({});
        CGameSelectForm::ResetFocusIndex();
        FormsTest::TearDown();
    }

    boost::shared_ptr<CGameSelectForm> OpenMenu()
    {
        auto menu = boost::make_shared<CGameSelectForm>();
        screen->AddControl(menu);
        Frames(60);
        return menu;
    }

    std::vector<std::int32_t> started;
};

TEST_F(TitleMenuTest, FocusOrderClicksClosingAndTheCancelRuleWithItsExitConfirmation)
{
    auto menu = OpenMenu();
    EXPECT_EQ(std::tuple(menu, form_names::kImageTitleWallpaper, menu->MainGameButton),
              std::tuple(screen->GetActiveForm(), CFormSceneLink::GetWallpaperPath(), menu->GetFocusedLeaf()));
    ASSERT_EQ(1u, FormsOf<CWallpaperForm>().size());
    EXPECT_EQ(FormsOf<CWallpaperForm>().front(), screen->GetControls().front()) << "the wallpaper lies at the back";
    for (const auto& expected : {menu->CompanionGameButton, menu->OptionsButton, menu->LeaderboardsButton,
                                 menu->CreditsButton, menu->ExitButton, menu->MainGameButton}) {
        menu->FocusNext();
        EXPECT_EQ(expected, menu->GetFocusedLeaf()) << expected->GetName();
    }
    for (const auto& [button, game] : {std::pair{menu->MainGameButton, CGameSelectForm::kMainGame},
                                       std::pair{menu->CompanionGameButton, CGameSelectForm::kCompanionGame}}) {
        sounds.clear();
        started.clear();
        button->SetFocus();
        ClickOn(*button);
        EXPECT_EQ(std::vector<EUiSound>{EUiSound::Decide}, sounds) << button->GetName();
        EXPECT_EQ(std::vector<std::int32_t>{game}, started) << button->GetName();
    }

    // Closing, it ignores keys and clicks.
    sounds.clear();
    started.clear();
    menu->Close();
    screen->OnKeyDown(form_names::kKeyEscape);
    menu->OnKeyDown(menu.get(), form_names::kKeyEscape);
    menu->OnMainGame(menu->MainGameButton.get());
    menu->OnExit(menu->ExitButton.get());
    EXPECT_EQ(std::tuple(0u, 0u, false), std::tuple(sounds.size(), started.size(), bool(menu->GetExitDialog())));
    screen->RemoveAllControls();

    // Cancel focuses Exit, then asks; only accepting posts the quit message.
    for (const bool accept : {false, true}) {
        CGameSelectForm::ResetFocusIndex();
        auto menu = OpenMenu();
        sounds.clear();
        screen->OnKeyDown(form_names::kKeyEscape);
        EXPECT_EQ(menu->ExitButton, menu->GetFocusedLeaf());
        EXPECT_FALSE(menu->GetExitDialog());
        screen->OnKeyDown(form_names::kKeyEscape);
        EXPECT_EQ((std::vector<EUiSound>{EUiSound::Cancel, EUiSound::Cancel, EUiSound::Decide}), sounds);
        ASSERT_TRUE(menu->GetExitDialog());
        Frames(60);
        EXPECT_EQ(menu->GetExitDialog(), screen->GetActiveForm());
        EXPECT_FALSE(QuitPosted());

        sounds.clear();
        const unsigned int key = accept ? form_names::kKeyReturn : form_names::kKeyEscape;
        screen->OnKeyDown(key);
        screen->OnKeyDown(key);
        EXPECT_EQ(std::vector<EUiSound>{accept ? EUiSound::Decide : EUiSound::Cancel}, sounds)
            << "the dialog closes once";
        Frames(60);
        EXPECT_EQ(accept, QuitPosted());
        EXPECT_TRUE(FormsOf<CDialogForm>().empty());
        if (!accept) {
            EXPECT_EQ(std::tuple(menu, menu->ExitButton), std::tuple(screen->GetActiveForm(), menu->GetFocusedLeaf()));
        }
        screen->RemoveAllControls();
    }
}
