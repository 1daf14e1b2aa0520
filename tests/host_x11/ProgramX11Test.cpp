/** @file ProgramX11Test.cpp The built program on a real X server: its painted window, full-screen
 * switching by Alt+Enter, and an orderly end on a close request. */
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "KorvaneXDK/core/SimpleDIB.h"
#include "host_x11/X11ProgramSupport.h"
#include "support/TempDir.h"

namespace
{

using namespace korvane::test::x11;

class ProgramX11Test : public SpawnedProgramTest
{
protected:
    void SetUp() override
    {
        SpawnedProgramTest::SetUp();
        logPath = data.Path() + "Vumo/VorthenixZambrelliot/vorthenix.log";
    }

    void Start() { ASSERT_EQ(0, SpawnProgram(data.Path(), child)); }

    bool LogHas(const std::string& text)
    {
        for (const std::string& line : ReadLines(logPath))
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    void PressAltEnter()
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        const KeyCode alt = XKeysymToKeycode(display, XK_Alt_L);
        const KeyCode enter = XKeysymToKeycode(display, XK_Return);
        XTestFakeKeyEvent(display, alt, True, CurrentTime);
        XTestFakeKeyEvent(display, enter, True, CurrentTime);
        XTestFakeKeyEvent(display, enter, False, CurrentTime);
        XTestFakeKeyEvent(display, alt, False, CurrentTime);
        XSync(display, False);
    }

    /// Whether the client area is the background with the banner at its lower right.
    bool ShowsBanner(const korvane::CSimpleDIB& banner)
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) == 0)
            return false;
        const int width = attributes.width;
        const int height = attributes.height;
        const int bw = banner.GetWidth();
        const int bh = banner.GetHeight();
        if (width < bw + 1 || height < bh + 1)
            return false;
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                                  AllPlanes, ZPixmap);
        if (image == nullptr)
            return false;
        bool same = (XGetPixel(image, 0, 0) & 0xFFFFFF) == 0x202020 &&
                    (XGetPixel(image, width / 4, height - 1) & 0xFFFFFF) == 0x202020;
        const std::uint32_t* pixels = banner.GetHandle()->GetPixels();
        for (int y = 0; same && y < bh; ++y) {
            for (int x = 0; same && x < bw; ++x) {
                const unsigned long shown = XGetPixel(image, width - bw + x, height - bh + y) & 0xFFFFFF;
                same = shown == (pixels[y * bw + x] & 0xFFFFFFu);
            }
        }
        XDestroyImage(image);
        return same;
    }

    std::string logPath;
};

TEST_F(ProgramX11Test, PaintsItsBannerSwitchesFullScreenAndEndsOnAClose)
{
    korvane::CSimpleDIB banner;
    banner.LoadFromFile(KORVANE_BINARY_DIR "/generated/assets/WindowBanner1.bmp");
    ASSERT_NE(nullptr, banner.GetHandle());
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(WaitFor([&] { return (window = FindProgramWindow(display)) != 0; })) << "no window";
    EXPECT_TRUE(WaitFor([&] { return ShowsBanner(banner); })) << "the window does not show the banner";

    PressAltEnter();
    EXPECT_TRUE(WaitFor([&] { return LogHas("Fullscreen Mode Changed (Fullscreen = true)."); }));
    PressAltEnter();
    EXPECT_TRUE(WaitFor([&] { return LogHas("Fullscreen Mode Changed (Fullscreen = false)."); }));

    RequestClose(display, window);

    int status = -1;
    ASSERT_TRUE(WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; })) << "the program did not end";
    child = -1;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    const std::vector<std::string> lines = ReadLines(logPath);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_NE(std::string::npos, lines.back().find("---- Application finalized ----"));
    bool finished = false;
    for (const std::string& line : lines)
        finished = finished || line.find("Appication main-loop finished.") != std::string::npos;
    EXPECT_TRUE(finished);
}

} // namespace
