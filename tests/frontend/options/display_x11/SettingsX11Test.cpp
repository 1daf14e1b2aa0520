/** @file SettingsX11Test.cpp The settings screens on the X server: Apply takes the game window to full screen in the
 * display's own mode and the countdown running out brings the window back. */
#include <string>

#include <SDL.h>

#include "frontend/forms/ScreenModeConfirmDialogForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/options/OptionsTestSupport.h"

// The run-wide driver, fonts and skin, on the X server's window system.
#include "frontend/forms/FormsTestSupport.cpp"

using namespace optiontest;

class SettingsX11Test : public OptionsTest
{
protected:
    void SetUp() override
    {
        if (std::string(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "") != "x11")
            GTEST_SKIP() << "needs the X server";
        OptionsTest::SetUp();
    }
};

TEST_F(SettingsX11Test, ApplyEntersFullScreenAndTheTimeoutReturnsToTheWindow)
{
    // The display's real modes, so that full screen can really be entered.
    os::testing::ResetGraphicsHooks();
    driver()->GetGraphicsModePreference().EnumerateModes();
    driver()->GetGraphicsModePreference().fullscreen = false;
    auto form = Show(boost::make_shared<CScreenSettingsForm>());
    screen->OnKeyDown(form_names::kKeyRight);
    ClickOn(*form->ExitButton);
    // Full screen, the device reset for it.
    EXPECT_EQ(std::tuple(true, false),
              std::tuple(driver()->GetGraphics()->IsFullscreen(), driver()->GetGraphics()->IsSwitching()));
    auto dialog = form->GetConfirmDialog();
    ASSERT_TRUE(dialog);
    while (!dialog->IsClosing())
        Frame();
    Frames(60);
    EXPECT_EQ(std::tuple(false, false, false, " EXIT"),
              std::tuple(driver()->GetGraphics()->IsFullscreen(), driver()->GetGraphics()->IsSwitching(),
                         driver()->GetGraphicsModePreference().fullscreen, form->ExitButton->GetCaption()));
}
