/** @file KeyCaptureX11Test.cpp The keyboard mapping screen on the X server: keys pressed through XTest (xdotool)
 * reach the game window, and the held key is bound to the focused row; the held arrow and Return are not. */
#include <cstdlib>
#include <string>

#include <SDL.h>

#include "frontend/forms/KeyMappingForm.h"
#include "frontend/options/OptionsTestSupport.h"

using namespace optiontest;

std::string GameWindowXId();

namespace
{

class KeyCaptureX11Test : public OptionsTest
{
protected:
    void SetUp() override
    {
        if (std::string(SDL_GetCurrentVideoDriver() != nullptr ? SDL_GetCurrentVideoDriver() : "") != "x11")
            GTEST_SKIP() << "needs the X server";
        if (std::system("command -v xdotool > /dev/null") != 0)
            GTEST_SKIP() << "needs xdotool";
        OptionsTest::SetUp();
        xWindow = GameWindowXId();
        ASSERT_FALSE(xWindow.empty());
        ASSERT_EQ(0, Xdotool("windowmap --sync " + xWindow + " windowfocus --sync " + xWindow));
    }

    static int Xdotool(const std::string& arguments) { return std::system(("xdotool " + arguments).c_str()); }

    /// Pumps the window's events until the keyboard shows the key held (or let go), as the
    /// program's frames would; false when it never does.
    bool PumpUntil(std::uint32_t code, bool held)
    {
        korvane::IController& keyboard = *input.GetController(0);
        keyboard.SetMapping("probe", 0, code);
        for (int pass = 0; pass < 2000; ++pass) {
            Poll();
            if (keyboard.IsDown("probe") == held)
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

    std::string xWindow;
};

} // namespace

TEST_F(KeyCaptureX11Test, AKeyFromTheXServerBindsTheFocusedRowButArrowsAndReturnDoNot)
{
    auto form = Show(boost::make_shared<CKeyMappingForm>("Keyboard Mapping", 0u, false));
    korvane::IController& keyboard = *input.GetController(0);
    form->ShieldLabel->SetFocus();
    sounds.clear();
    Press("Left", 0xCB);
    Press("Return", 0x1C);
    EXPECT_EQ(0x2Du, keyboard.GetMapping("x4", 0));
    EXPECT_TRUE(sounds.empty());
    Press("q", 0x10);
    EXPECT_EQ(0x10u, keyboard.GetMapping("x4", 0));
    EXPECT_EQ("[" + keyboard.GetInputName("x4", 0) + "]", form->ShieldKeyLabel->GetCaption());
    EXPECT_EQ(std::vector<EUiSound>{EUiSound::Decide}, sounds);
}
