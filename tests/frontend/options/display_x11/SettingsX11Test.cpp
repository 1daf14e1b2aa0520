/** @file SettingsX11Test.cpp The settings screens on the X server: Apply takes the game window to full screen in the
 * display's own mode and the countdown running out brings the window back; keys pressed through XTest (xdotool) reach
 * the game window, and the held key is bound to the focused row. */
#include <cstdlib>
#include <string>

#include <SDL.h>

#include "frontend/forms/KeyMappingForm.h"
#include "frontend/forms/ScreenModeConfirmDialogForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/options/OptionsTestSupport.h"

// The run-wide driver, fonts and skin, on the X server's window system.
#include "frontend/forms/FormsTestSupport.cpp"

using namespace optiontest;

std::string GameWindowXId();

class SettingsX11Test : public OptionsTest
{
protected:
    void SetUp() override
    {
        if (std::string(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "") != "x11")
            GTEST_SKIP() << "needs the X server";
        OptionsTest::SetUp();
    }

    static int Xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()); }

    /// Pumps the window's events until the keyboard shows the key held (or let go), as the
    /// program's frames would; false when it never does.
    bool PumpUntil(std::uint32_t code, bool held)
    {
        Keyboard().SetMapping("probe", 0, code);
        for (int pass = 0; pass < 2000; ++pass) {
            Poll();
            if (Keyboard().IsDown("probe") == held)
                return true;
            SDL_Delay(1);
        }
        return false;
    }

    /// The key held over one frame of the screen, then let go.
    void Press(const std::string& key, std::uint32_t code)
    {
        ASSERT_EQ(0, Xdotool("keydown " + key));
        ASSERT_TRUE(PumpUntil(code, true)) << key;
        Frame();
        ASSERT_EQ(0, Xdotool("keyup " + key));
        ASSERT_TRUE(PumpUntil(code, false)) << key;
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

TEST_F(SettingsX11Test, AKeyFromTheXServerBindsTheFocusedRow)
{
    if (std::system("command -v xdotool > /dev/null") != 0)
        GTEST_SKIP() << "needs xdotool";
    const std::string xWindow = GameWindowXId();
    ASSERT_FALSE(xWindow.empty());
    ASSERT_EQ(0, Xdotool("windowmap --sync " + xWindow + " windowfocus --sync " + xWindow));
    auto form = Show(boost::make_shared<CKeyMappingForm>("Keyboard Mapping", 0u, false));
    form->ShieldLabel->SetFocus();
    sounds.clear();
    // That arrows and Return bind nothing is the key mapping scenario's; here the key's way in is under test.
    Press("q", 0x10);
    EXPECT_EQ(std::tuple(0x10u, "[" + Keyboard().GetInputName("x4", 0) + "]", std::vector<EUiSound>{EUiSound::Decide}),
              std::tuple(Keyboard().GetMapping("x4", 0), form->ShieldKeyLabel->GetCaption(), sounds));
}
