/** @file FullScreenApplyTest.cpp The screen settings on the X server: Apply takes the game window to full screen in
 * the display's own mode, and the countdown running out brings the window back. */
#include <SDL.h>

#include "frontend/forms/ScreenModeConfirmDialogForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/options/OptionsTestSupport.h"

using namespace optiontest;

namespace
{

class FullScreenApplyTest : public OptionsTest
{
protected:
    void SetUp() override
    {
        if (std::string(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "") != "x11")
            GTEST_SKIP() << "needs the X server";
        OptionsTest::SetUp();
        // The display's real modes, so that full screen can really be entered.
        os::testing::ResetGraphicsHooks();
        driver()->GetGraphicsModePreference().EnumerateModes();
        driver()->GetGraphicsModePreference().fullscreen = false;
    }
};

} // namespace

TEST_F(FullScreenApplyTest, ApplyEntersFullScreenAndTheTimeoutReturnsToTheWindow)
{
    auto form = Show(boost::make_shared<CScreenSettingsForm>());
    screen->OnKeyDown(form_names::kKeyRight);
    EXPECT_EQ(" APPLY", form->ExitButton->GetCaption());
    ClickOn(*form->ExitButton);
    EXPECT_TRUE(driver()->GetGraphics()->IsFullscreen());
    EXPECT_FALSE(driver()->GetGraphics()->IsSwitching()) << "the device was reset for full screen";
    auto dialog = form->GetConfirmDialog();
    ASSERT_TRUE(dialog);
    while (!dialog->IsClosing())
        Frame();
    Frames(60);
    EXPECT_FALSE(driver()->GetGraphics()->IsFullscreen());
    EXPECT_FALSE(driver()->GetGraphics()->IsSwitching());
    EXPECT_FALSE(driver()->GetGraphicsModePreference().fullscreen);
    EXPECT_EQ(" EXIT", form->ExitButton->GetCaption());
}
