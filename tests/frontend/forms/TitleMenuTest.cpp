/** @file TitleMenuTest.cpp The title menu on the OpenGL device: its wallpaper, focus order, clicks with the decide
 * sound, the cancel rule, the exit confirmation and the remembered focus. */
#include "FormsTestSupport.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/WallpaperForm.h"

using namespace formtest;
using korvane::mwt::CControl;

namespace
{

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

} // namespace

TEST_F(TitleMenuTest, OpensOverTheTitleWallpaperWithTheMainGameFocused)
{
    auto menu = OpenMenu();
    EXPECT_EQ(menu, screen->GetActiveForm());
    EXPECT_EQ(menu->MainGameButton, menu->GetFocusedLeaf());
    EXPECT_EQ(form_names::kImageTitleWallpaper, CFormSceneLink::GetWallpaperPath());
    ASSERT_EQ(1u, FormsOf<CWallpaperForm>().size());
    EXPECT_EQ(FormsOf<CWallpaperForm>().front(), screen->GetControls().front()) << "the wallpaper lies at the back";
}

TEST_F(TitleMenuTest, ButtonsTakeTheFocusInLocationOrderAndClickWithTheDecideSound)
{
    auto menu = OpenMenu();
    const std::vector<boost::shared_ptr<korvane::mwt::CButton>> order = {
        menu->CompanionGameButton, menu->OptionsButton, menu->LeaderboardsButton,
        menu->CreditsButton,       menu->ExitButton,    menu->MainGameButton};
    for (const auto& expected : order) {
        menu->FocusNext();
        EXPECT_EQ(expected, menu->GetFocusedLeaf()) << expected->GetName();
    }

    struct Case
    {
        boost::shared_ptr<korvane::mwt::CButton> button;
        std::int32_t game;
    };
    for (const Case& c : {Case{menu->MainGameButton, CGameSelectForm::kMainGame},
                          Case{menu->CompanionGameButton, CGameSelectForm::kCompanionGame}}) {
        sounds.clear();
        started.clear();
        c.button->SetFocus();
        ClickOn(*c.button);
        EXPECT_EQ(std::vector<EUiSound>{EUiSound::Decide}, sounds) << c.button->GetName();
        EXPECT_EQ(std::vector<std::int32_t>{c.game}, started) << c.button->GetName();
    }
}

TEST_F(TitleMenuTest, CancelFocusesExitThenAsksAndAcceptingPostsTheQuitMessage)
{
    auto menu = OpenMenu();
    screen->OnKeyDown(form_names::kKeyEscape);
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Cancel}, sounds);
    EXPECT_EQ(menu->ExitButton, menu->GetFocusedLeaf());
    EXPECT_FALSE(menu->GetExitDialog());

    sounds.clear();
    screen->OnKeyDown(form_names::kKeyEscape);
    EXPECT_EQ((std::vector<EUiSound>{EUiSound::Cancel, EUiSound::Decide}), sounds);
    ASSERT_TRUE(menu->GetExitDialog());
    Frames(60);
    EXPECT_EQ(menu->GetExitDialog(), screen->GetActiveForm());
    EXPECT_FALSE(QuitPosted());

    sounds.clear();
    screen->OnKeyDown(form_names::kKeyReturn);
    screen->OnKeyDown(form_names::kKeyReturn);
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Decide}, sounds) << "the dialog closes once";
    Frames(60);
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(FormsOf<CDialogForm>().empty());
}

TEST_F(TitleMenuTest, DecliningTheExitQuestionGivesTheMenuBackItsFocus)
{
    auto menu = OpenMenu();
    ClickOn(*menu->ExitButton);
    Frames(60);
    ASSERT_TRUE(menu->GetExitDialog());
    screen->OnKeyDown(form_names::kKeyEscape);
    Frames(60);
    EXPECT_FALSE(QuitPosted());
    EXPECT_EQ(menu, screen->GetActiveForm());
    EXPECT_EQ(menu->ExitButton, menu->GetFocusedLeaf());
    EXPECT_TRUE(FormsOf<CDialogForm>().empty());
}

TEST_F(TitleMenuTest, AReopenedMenuFocusesTheButtonItWasLeftByUnlessEnteredAfresh)
{
    auto menu = OpenMenu();
    menu->FocusNext();
    menu->Close();
    Frames(60);
    EXPECT_TRUE(FormsOf<CGameSelectForm>().empty());

    auto again = OpenMenu();
    EXPECT_EQ(again->CompanionGameButton, again->GetFocusedLeaf());
    again->Close();
    Frames(60);

    CGameSelectForm::ResetFocusIndex();
    auto fresh = OpenMenu();
    EXPECT_EQ(fresh->MainGameButton, fresh->GetFocusedLeaf());
}

TEST_F(TitleMenuTest, AClosingMenuIgnoresKeysAndClicks)
{
    auto menu = OpenMenu();
    menu->Close();
    screen->OnKeyDown(form_names::kKeyEscape);
    menu->OnKeyDown(menu.get(), form_names::kKeyEscape);
    menu->OnMainGame(menu->MainGameButton.get());
    menu->OnExit(menu->ExitButton.get());
    EXPECT_TRUE(sounds.empty());
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(menu->GetExitDialog());
}
