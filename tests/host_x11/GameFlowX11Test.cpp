/** @file GameFlowX11Test.cpp The built program on a real X server: its banner, full-screen switching, and, driven
 * by keys, from the title menu into a game, through the pause menu and its confirmation, to a close mid-game; a
 * termination request and a close request each end it in order. */
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <filesystem>

#include "KorvaneXDK/core/SimpleDIB.h"
#include "host/ProgramProcess.h"
#include "support/TempDir.h"

namespace
{

/// The window's client area, 0xRRGGBB per pixel; empty when it cannot be read.
struct Shot
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

/// The built program beside the build's archive, with its user data in a temporary folder, and a connection
/// to the X server (the test is skipped without one).
class GameFlowX11Test : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
        // A window listed by the server can be gone by the time it is asked about (the splash
        // windows of a program starting, the last program's closing): that is no error here, where
        // Xlib's own handler would end the test process.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        // The program's data in the temporary folder, its termination signal handled as a close.
        setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
        unsetenv("SDL_NO_SIGNAL_HANDLERS");
    }
    void TearDown() override
    {
        program.reset();
        if (display != nullptr)
            XCloseDisplay(display);
    }

    std::string Folder() const { return data.Path() + "Vumo/VorthenixZambrelliot/"; }
    /// Starts the program and waits for its window.
    void Start()
    {
        program = std::make_unique<program_test::ProgramProcess>(KORVANE_BINARY_DIR "/bin/vorthenix");
        ASSERT_TRUE(program->Started());
        ASSERT_TRUE(WaitFor([&] { return (window = FindWindow()) != 0; })) << "no window";
    }
    /// Polls the program's state (its own pace, not a synchronisation) until the condition holds, the
    /// time is up or the program has ended.
    bool WaitFor(const std::function<bool()>& condition, double seconds = 30.0)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end || (program && program->HasExited()))
                return condition();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return true;
    }
    /// The program's mapped top-level window, 0 while there is none.
    Window FindWindow()
    {
        Window root = DefaultRootWindow(display), parent = 0, found = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
            return 0;
        for (unsigned int i = 0; i < count && found == 0; ++i) {
            char* name = nullptr;
            XWindowAttributes attributes;
            if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
                if (std::string(name) == "VORTHENIX ZAMBRELLIOT  - Vesperanthor -" &&
                    XGetWindowAttributes(display, children[i], &attributes) != 0 && attributes.map_state == IsViewable)
                    found = children[i];
                XFree(name);
            }
        }
        if (children != nullptr)
            XFree(children);
        return found;
    }
    Shot Capture()
    {
        Shot shot;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) == 0)
            return shot;
        XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image == nullptr)
            return shot;
        shot.width = attributes.width;
        shot.height = attributes.height;
        for (int y = 0; y < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x)
                shot.pixels.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y) & 0xFFFFFF));
        XDestroyImage(image);
        return shot;
    }
    /// Focuses the window and presses the keys together, held a while so that the program's
    /// once-a-frame poll sees them.
    void Press(std::initializer_list<KeySym> keys)
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        for (const Bool down : {True, False}) {
            for (KeySym key : keys)
                XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down, CurrentTime);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(down ? 120 : 0));
        }
    }
    /// Asks the window to close as a window manager would, and returns the exit status.
    int CloseAndWait()
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XSync(display, False);
        EXPECT_TRUE(WaitFor([&] { return program->HasExited(); })) << "the program did not end";
        return program->Wait();
    }
    std::string Log() { return korvane::test::TempDir::Read(Folder() + "vorthenix.log"); }
    bool LogHas(const std::string& text) { return Log().find(text) != std::string::npos; }

    /// What the screen shows, told by two pixels, the centre and a point near the left edge: the title menu (its
    /// band in the middle, the space wallpaper beside it), the game (its black picture in the middle, the
    /// wallpaper beside it), the pause menu (everything under its blue tint) or the confirmation (its bright blue
    /// box in the middle over the game).
    std::string Shown()
    {
        const Shot shot = Capture();
        if (shot.pixels.empty())
            return "something else";
        const std::uint32_t centre = shot.At(shot.width / 2, shot.height / 2);
        const std::uint32_t side = shot.At(shot.width / 20, shot.height / 2);
        auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
        auto blueTinted = [&](std::uint32_t c) { return channel(c, 0) > 110 && channel(c, 0) > channel(c, 16) + 60; };
        auto brightness = [&](std::uint32_t c) { return channel(c, 16) + channel(c, 8) + channel(c, 0); };
        if (blueTinted(side))
            return "pause menu";
        if (blueTinted(centre))
            return brightness(centre) > 300 ? "confirmation" : "something else";
        if (brightness(centre) == 0 && brightness(side) > 0)
            return "game";
        return brightness(centre) > 120 ? "title menu" : "something else";
    }

    /// Presses the key (when given) and waits for the scene; once more if the first press fell
    /// into an opening animation, which ignores keys.
    void Reach(const std::string& scene, KeySym key = NoSymbol, int seconds = 8)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (key != NoSymbol)
                Press({key});
            if (WaitFor([&] { return Steady(scene); }, seconds))
                return;
        }
        ADD_FAILURE() << "the screen shows the " << Shown() << ", not the " << scene;
    }

    /// The scene shown now and still a moment later: a splash's bright logo or a window being resized
    /// can pass for another scene for a frame.
    bool Steady(const std::string& scene)
    {
        if (Shown() != scene)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        return Shown() == scene;
    }

    /// Decide skips the two splashes.
    void ReachTitleMenu()
    {
        for (int i = 0; i < 20 && !Steady("title menu"); ++i) {
            Press({XK_Return});
            WaitFor([&] { return Steady("title menu"); }, 2);
        }
        ASSERT_TRUE(Steady("title menu")) << (program->HasExited() ? "the program ended:\n" + Log() : "");
    }

    /// Whether the client area is the cleared background with the banner at its lower right.
    bool ShowsBanner(const korvane::CSimpleDIB& banner)
    {
        const Shot shot = Capture();
        const int bw = banner.GetWidth(), bh = banner.GetHeight();
        if (shot.width < bw + 1 || shot.height < bh + 1 || shot.At(0, 0) != 0x202020 ||
            shot.At(shot.width / 4, shot.height - 1) != 0x202020)
            return false;
        const std::uint32_t* pixels = banner.GetHandle()->GetPixels();
        for (int y = 0; y < bh; ++y)
            for (int x = 0; x < bw; ++x)
                if (shot.At(shot.width - bw + x, shot.height - bh + y) != (pixels[y * bw + x] & 0xFFFFFFu))
                    return false;
        return true;
    }

    korvane::test::TempDir data;
    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<program_test::ProgramProcess> program;
};

TEST_F(GameFlowX11Test, FromTheTitleMenuIntoAGameThroughThePauseMenuToAClose)
{
    // A first run: the banner until the interface draws, full screen by Alt+Enter and back, an
    // orderly end on a termination request; it writes the settings, so that the second starts without
    // missing files.
    korvane::CSimpleDIB banner;
    banner.LoadFromFile(KORVANE_BINARY_DIR "/generated/assets/WindowBanner1.bmp");
    ASSERT_NE(nullptr, banner.GetHandle());
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_TRUE(WaitFor([&] { return ShowsBanner(banner); })) << "the window does not show the banner";
    for (const std::string mode : {"true", "false"}) {
        Press({XK_Alt_L, XK_Return});
        EXPECT_TRUE(WaitFor([&] { return LogHas("Fullscreen Mode Changed (Fullscreen = " + mode + ")."); }));
    }
    ASSERT_NO_FATAL_FAILURE(ReachTitleMenu());
    program->Terminate();
    ASSERT_EQ(0, program->Wait());
    EXPECT_TRUE(LogHas("Appication main-loop finished."));
    // A first run finds no settings and no preferences (each logged); nothing else fails.
    const std::string first = Log();
    for (std::size_t at = first.find("Detail: "); at != std::string::npos; at = first.find("Detail: ", at + 1)) {
        const std::string detail = first.substr(at, first.find('\n', at) - at);
        EXPECT_TRUE(detail.find("display_setting.ini") != std::string::npos ||
                    detail.find("preference.dat") != std::string::npos)
            << detail;
    }
    std::remove((Folder() + "vorthenix.log").c_str());

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ReachTitleMenu());
    Reach("game", XK_Return);
    Reach("pause menu", XK_Escape);
    // Continue holds the focus.
    Reach("game", XK_Return);
    Reach("pause menu", XK_Escape);
    Press({XK_Down});
    Reach("confirmation", XK_Return);
    // Accepting returns to the title menu with that game's button focused: decide starts it again.
    Reach("title menu", XK_Return);
    Reach("game", XK_Return);

    // Closing the window mid-game ends the program cleanly.
    EXPECT_EQ(0, CloseAndWait());
    const std::string log = Log(), end = "---- Application finalized ----";
    EXPECT_EQ(log.find_last_not_of("\r\n") + 1, log.rfind(end) + end.size()) << "the log ends finalized";
    EXPECT_EQ(std::string::npos, log.find("ERROR")) << log;

    // Every file whole: no temporary left, none empty.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Folder())) {
        ++files;
        const std::string name = entry.path().filename().string();
        EXPECT_NE(".tmp", entry.path().extension().string()) << name;
        EXPECT_GT(entry.file_size(), 0u) << name;
    }
    EXPECT_GE(files, 3);
}

} // namespace
