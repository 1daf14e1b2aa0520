/** @file ProgramX11Test.cpp The built program on a real X server: its painted window, full-screen
 * switching by Alt+Enter, and an orderly end on a close request. */
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "KorvaneXDK/core/SimpleDIB.h"
#include "support/TempDir.h"

extern char** environ;

namespace
{

const char* const kTitle = "VORTHENIX ZAMBRELLIOT  - Vesperanthor -";

/// Polls a condition of the other process until it holds or the time is up; the short pause
/// between looks only spares the processor, nothing waits on it.
bool WaitFor(const std::function<bool()>& condition, int seconds = 30)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        const timespec pause{0, 20 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    return condition();
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

class ProgramX11Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
        logPath = data.Path() + "Vumo/VorthenixZambrelliot/vorthenix.log";
    }
    void TearDown() override
    {
        if (child > 0) {
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
        }
        if (display != nullptr)
            XCloseDisplay(display);
    }

    void Start()
    {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::strncmp(*e, "XDG_DATA_HOME=", 14) != 0)
                env.emplace_back(*e);
        }
        env.push_back("XDG_DATA_HOME=" + data.Path());
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        std::string program = KORVANE_BINARY_DIR "/bin/vorthenix";
        char* argv[] = {program.data(), nullptr};
        ASSERT_EQ(0, posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, envp.data()));
    }

    Window FindWindow()
    {
        Window root = DefaultRootWindow(display);
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
            return 0;
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
                if (std::string(name) == kTitle && XGetWindowAttributes(display, children[i], &attributes) != 0 &&
                    attributes.map_state == IsViewable)
                    found = children[i];
                XFree(name);
            }
        }
        if (children != nullptr)
            XFree(children);
        return found;
    }

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

    korvane::test::TempDir data;
    Display* display = nullptr;
    Window window = 0;
    pid_t child = -1;
    std::string logPath;
};

TEST_F(ProgramX11Test, PaintsItsBannerSwitchesFullScreenAndEndsOnAClose)
{
    korvane::CSimpleDIB banner;
    banner.LoadFromFile(KORVANE_BINARY_DIR "/generated/assets/WindowBanner1.bmp");
    ASSERT_NE(nullptr, banner.GetHandle());
    ASSERT_NO_FATAL_FAILURE(Start());

    ASSERT_TRUE(WaitFor([&] { return (window = FindWindow()) != 0; })) << "no window";
    EXPECT_TRUE(WaitFor([&] { return ShowsBanner(banner); })) << "the window does not show the banner";

    PressAltEnter();
    EXPECT_TRUE(WaitFor([&] { return LogHas("Fullscreen Mode Changed (Fullscreen = true)."); }));
    PressAltEnter();
    EXPECT_TRUE(WaitFor([&] { return LogHas("Fullscreen Mode Changed (Fullscreen = false)."); }));

    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);

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
