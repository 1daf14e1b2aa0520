/** @file TitleMenuTest.cpp The title menu on the OpenGL device: its wallpaper, focus order, clicks with the decide
 * sound, the cancel rule, the exit confirmation and the remembered focus; and the menu over its wallpaper compared
 * pixel for pixel with a stored picture (KORVANE_UPDATE_GOLDEN=1 rewrites the picture instead). */
#include <cstdlib>
#include <fstream>
#include <tuple>

#include "FormsTestSupport.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/GameSelectForm.h"
#include "os/gfx/ResultCodes.h"
#include "support/TempDir.h"

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

const std::string kGoldenPath = std::string(KORVANE_SOURCE_DIR) + "/tests/frontend/forms/golden/title_menu.ppm";

TEST_F(TitleMenuTest, TheTitleMenuMatchesItsGoldenPicture)
{
    Show(boost::make_shared<CGameSelectForm>());
    Frames(30);

    const ScreenPicture shot = DrawScreen(0, 1920, 1080, 0);
    ASSERT_EQ(os::gfx::kOk, shot.cleared);
    ASSERT_EQ(os::gfx::kOk, shot.read);
    const std::vector<std::uint32_t>& pixels = shot.pixels;
    const std::uint32_t width = shot.width, height = shot.height;
    // Binary PPM: "P6 w h 255" and the rows top to bottom, RGB.
    std::string picture = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (const std::uint32_t argb : pixels)
        picture += {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8), static_cast<char>(argb)};

    const char* update = std::getenv("KORVANE_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(kGoldenPath, std::ios::binary) << picture;
        GTEST_SKIP() << "golden picture rewritten: " << kGoldenPath;
    }
    // A missing picture throws; KORVANE_UPDATE_GOLDEN=1 makes it.
    EXPECT_TRUE(korvane::test::TempDir::Read(kGoldenPath) == picture) << "differs from " << kGoldenPath;
}
