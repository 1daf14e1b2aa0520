/** @file TitleMenuTest.cpp The title menu on the OpenGL device: its wallpaper, focus order, clicks with the decide
 * sound, the cancel rule, the exit confirmation and the remembered focus; and the menu over its wallpaper compared
 * pixel for pixel with its reference picture. */
#include <tuple>
#include <utility>

#include "FormsTestSupport.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "os/gfx/ResultCodes.h"
#include "support/ReferenceImage.h"

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
        FormsTest::TearDown();
    }

    std::vector<std::int32_t> started;
};

TEST_F(TitleMenuTest, FocusOrderClicksClosingAndTheCancelRuleWithItsExitConfirmation)
{
    auto menu = Show(boost::make_shared<CGameSelectForm>());
    EXPECT_EQ(std::tuple(menu, form_names::kImageTitleWallpaper, menu->MainGameButton),
              std::tuple(screen->GetActiveForm(), CFormSceneLink::GetWallpaperPath(), menu->GetFocusedLeaf()));
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
        EXPECT_EQ(std::tuple(std::vector<EUiSound>{EUiSound::Decide}, std::vector<std::int32_t>{game}),
                  std::tuple(sounds, started))
            << button->GetName();
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
        auto menu = Show(boost::make_shared<CGameSelectForm>());
        sounds.clear();
        screen->OnKeyDown(form_names::kKeyEscape);
        EXPECT_EQ(std::tuple(menu->ExitButton, false), std::tuple(menu->GetFocusedLeaf(), bool(menu->GetExitDialog())));
        screen->OnKeyDown(form_names::kKeyEscape);
        EXPECT_EQ((std::vector<EUiSound>{EUiSound::Cancel, EUiSound::Cancel, EUiSound::Decide}), sounds);
        Frames(60);
        EXPECT_EQ(std::tuple(menu->GetExitDialog(), false), std::tuple(screen->GetActiveForm(), QuitPosted()));

        sounds.clear();
        const unsigned int key = accept ? form_names::kKeyReturn : form_names::kKeyEscape;
        screen->OnKeyDown(key);
        EXPECT_EQ(std::vector<EUiSound>{accept ? EUiSound::Decide : EUiSound::Cancel}, sounds);
        Frames(60);
        EXPECT_EQ(std::tuple(accept, 0u), std::tuple(QuitPosted(), FormsOf<CDialogForm>().size()));
        if (!accept) {
            EXPECT_EQ(std::tuple(menu, menu->ExitButton), std::tuple(screen->GetActiveForm(), menu->GetFocusedLeaf()));
        }
        screen->RemoveAllControls();
    }
}

const std::string kReferencePath = std::string(KORVANE_SOURCE_DIR) + "/tests/frontend/forms/reference/title_menu.png";

TEST_F(TitleMenuTest, TheTitleMenuMatchesItsReferencePicture)
{
    Show(boost::make_shared<CGameSelectForm>());
    Frames(30);

    const ScreenPicture shot = DrawScreen(0, 1920, 1080, 0);
    ASSERT_EQ(os::gfx::kOk, shot.cleared);
    ASSERT_EQ(os::gfx::kOk, shot.read);
    const korvane::test::ReferenceImage picture{shot.width, shot.height, shot.pixels};
    if (korvane::test::UpdatingReferenceImages()) {
        korvane::test::WriteImage(kReferencePath, picture);
        GTEST_SKIP() << "reference picture rewritten: " << kReferencePath;
    }
    const korvane::test::ReferenceImage reference = korvane::test::ReadImage(kReferencePath);
    ASSERT_EQ(std::pair(picture.width, picture.height), std::pair(reference.width, reference.height))
        << "no reference picture of this size at " << kReferencePath;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); ++i)
        differing += ((picture.pixels[i] ^ reference.pixels[i]) & 0xFFFFFFu) != 0 ? 1 : 0;
    EXPECT_EQ(0u, differing) << "pixels differ from " << kReferencePath;
}
