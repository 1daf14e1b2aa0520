/** @file GameFlowX11Test.cpp The built program on a real X server: its banner, full-screen switching, and, driven
 * by keys, from the title menu into a game, through the pause menu and its confirmation, to a close mid-game; a
 * termination request and a close request each end it in order; the texts of the key mapping screen read back
 * from the window.
 *
 * The test keeps step with the program by what it shows and logs, counting the frames it presents by the X server's
 * damage reports on its window: a key is held until the program has polled it, however slowly it runs (a sanitizer
 * build on a busy machine); the time limits only end a run that has already failed. */
#include <gtest/gtest.h>

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <filesystem>
#include <fstream>

#include "KorvaneXDK/core/SimpleDIB.h"
#include "host/ProgramProcess.h"
#include "host_x11/ProgramWindow.h"
#include "support/FontReader.h"
#include "support/TempDir.h"

namespace
{

using korvane::test::FontReader;

/// How long the program may take to show or log any one thing.
constexpr double kPatience = 180.0;
/// Frames between a key's event and the program's certain poll of it: the frame being drawn when it arrives may have
/// polled before.
constexpr long kPollFrames = 3;
/// Frames within which a key the program took shows its effect; a press that shows none by then fell into an opening
/// animation, which ignores keys, and is made again.
constexpr long kEffectFrames = 60;
/// Frames a scene holds still before it counts as reached: a splash's logo, a window being resized or a form still
/// opening or fading can pass for another scene for a while.
constexpr long kSettleFrames = 10;

/// The window's client area, 0xRRGGBB per pixel; empty when it cannot be read.
struct Shot
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    /// The mean colour of the box [x0, x1) x [y0, y1).
    std::uint32_t Mean(int x0, int y0, int x1, int y1) const
    {
        std::uint64_t sum[3] = {0, 0, 0};
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                for (int c = 0; c < 3; ++c)
                    sum[c] += (At(x, y) >> (16 - 8 * c)) & 0xFF;
        const std::uint64_t count = static_cast<std::uint64_t>(x1 - x0) * static_cast<std::uint64_t>(y1 - y0);
        return static_cast<std::uint32_t>((sum[0] / count) << 16 | (sum[1] / count) << 8 | sum[2] / count);
    }
    /// The mean colour around (x, y), over a box wide enough to even out the patterns and the text drawn there.
    std::uint32_t Around(int x, int y) const
    {
        const int r = std::max(1, height / 40);
        return Mean(std::max(0, x - r), std::max(0, y - r), std::min(width, x + r + 1), std::min(height, y + r + 1));
    }
    /// Whether the two pictures differ nowhere but in small details (the pulsing pointer): an 8 x 8 grid of mean
    /// colours, each channel within a few steps.
    bool Like(const Shot& other) const
    {
        if (width != other.width || height != other.height || pixels.empty())
            return false;
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column) {
                const int x0 = width * column / 8, x1 = width * (column + 1) / 8;
                const int y0 = height * row / 8, y1 = height * (row + 1) / 8;
                const std::uint32_t a = Mean(x0, y0, x1, y1), b = other.Mean(x0, y0, x1, y1);
                for (int shift = 0; shift <= 16; shift += 8)
                    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8)
                        return false;
            }
        return true;
    }
};

int Channel(std::uint32_t c, int shift)
{
    return static_cast<int>((c >> shift) & 0xFF);
}
int Brightness(std::uint32_t c)
{
    return Channel(c, 16) + Channel(c, 8) + Channel(c, 0);
}
bool BlueTinted(std::uint32_t c)
{
    return Channel(c, 0) > 110 && Channel(c, 0) > Channel(c, 16) + 60;
}
bool Grey(std::uint32_t c)
{
    const int r = Channel(c, 16), g = Channel(c, 8), b = Channel(c, 0);
    return std::max({r, g, b}) - std::min({r, g, b}) < 12;
}

/// What the screen shows, told by the mean colours at the centre and near the left edge: a splash (its logo on a
/// light grey ground), the title menu (its band in the middle, the space wallpaper beside it), the game (its black
/// picture in the middle, the wallpaper beside it), the pause menu (everything under its blue tint) or the
/// confirmation (its bright blue box in the middle over the game).
std::string Shown(const Shot& shot)
{
    if (shot.pixels.empty())
        return "something else";
    const std::uint32_t centre = shot.Around(shot.width / 2, shot.height / 2);
    const std::uint32_t side = shot.Around(shot.width / 20, shot.height / 2);
    if (BlueTinted(side))
        return "pause menu";
    if (BlueTinted(centre))
        return Brightness(centre) > 300 ? "confirmation" : "something else";
    if (Grey(side) && Brightness(side) > 300)
        return "splash";
    if (Brightness(centre) < 24 && Brightness(side) > 30)
        return "game";
    return Brightness(centre) > 120 && !Grey(side) ? "title menu" : "something else";
}

/// The height of the focus pointer (the orange arrow left of the focused button), -1 while it cannot be told: it pulses,
/// and at its faintest it is lost in the ground.
int PointerRow(const Shot& shot)
{
    long rows = 0, count = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = shot.width * 3 / 10; x < shot.width / 2; ++x) {
            const std::uint32_t c = shot.At(x, y);
            if (Channel(c, 16) > 170 && Channel(c, 8) > 70 && Channel(c, 8) < 200 && Channel(c, 0) < 90 &&
                Channel(c, 16) - Channel(c, 0) > 120) {
                rows += y;
                ++count;
            }
        }
    return count >= 20 ? static_cast<int>(rows / count) : -1;
}

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
        int damageError = 0;
        ASSERT_TRUE(XDamageQueryExtension(display, &damageEvent, &damageError)) << "the X server reports no damage";
        // Keys are held for as long as the program takes to poll them; the server's own key repeat would add
        // presses of its own meanwhile. The server is the tests' private one; the setting is restored at the end.
        XAutoRepeatOff(display);
        // The program's data in the temporary folder, its termination signal handled as a close.
        setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
        unsetenv("SDL_NO_SIGNAL_HANDLERS");
    }
    void TearDown() override
    {
        program.reset();
        if (display != nullptr) {
            XAutoRepeatOn(display);
            XCloseDisplay(display);
        }
    }

    std::string Folder() const { return data.Path() + "Vumo/VorthenixZambrelliot/"; }
    /// Starts the program and waits for its window, whose frames are counted from then on.
    void Start()
    {
        program = std::make_unique<program_test::ProgramProcess>(KORVANE_BINARY_DIR "/bin/vorthenix");
        ASSERT_TRUE(program->Started());
        ASSERT_TRUE(WaitFor([&] { return (window = program_test::FindProgramWindow(display)) != 0; })) << "no window";
        damage = XDamageCreate(display, window, XDamageReportNonEmpty);
    }
    /// Polls the program's state until the condition holds, the time is up or the program has ended.
    bool WaitFor(const std::function<bool()>& condition, double seconds = kPatience)
    {
        return program->WaitUntil(condition, seconds);
    }
    /// The frames the program has presented in its window so far, as the server's damage reports count them
    /// (frames drawn between two looks count once: never more than were drawn).
    long Frames()
    {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify) {
                ++frames;
                XDamageSubtract(display, damage, None, None);
            }
        }
        return frames;
    }
    /// Waits until the program has presented `count` more frames.
    bool WaitFrames(long count)
    {
        const long end = Frames() + count;
        return WaitFor([&] { return Frames() >= end; });
    }
    Shot Capture()
    {
        Shot shot;
        shot.pixels = program_test::ReadWindowPixels(display, window, shot.width, shot.height);
        return shot;
    }
    std::string Shown() { return ::Shown(Capture()); }

    /// Focuses the window and presses the keys together: held until the program has polled them, let go until it
    /// has seen that too, then the effect awaited. Made again while no effect shows.
    bool Press(std::initializer_list<KeySym> keys, const std::function<bool()>& effect)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
        while (std::chrono::steady_clock::now() < end && !program->HasExited()) {
            XSetInputFocus(display, window, RevertToParent, CurrentTime);
            for (const Bool down : {True, False}) {
                for (KeySym key : keys)
                    XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down, CurrentTime);
                XSync(display, False);
                if (!WaitFrames(kPollFrames))
                    return false;
            }
            // The effect counts once seen: a pulsing pointer or a fading form need not show it again.
            const long taken = Frames() + kEffectFrames;
            bool shown = false;
            WaitFor([&] { return (shown = effect()) || Frames() >= taken; });
            if (shown)
                return true;
        }
        return false;
    }
    /// Asks the window to close as a window manager would, and returns the exit status.
    int CloseAndWait()
    {
        program_test::SendCloseRequest(display, window);
        EXPECT_TRUE(program->WaitForExit(kPatience)) << "the program did not end";
        return program->Wait();
    }
    std::string Log() { return korvane::test::TempDir::Read(Folder() + "vorthenix.log"); }
    bool LogHas(const std::string& text) { return Log().find(text) != std::string::npos; }

    /// The scene shown now and still, hardly changed, some frames later.
    bool Settled(const std::string& scene)
    {
        const Shot first = Capture();
        if (::Shown(first) != scene || !WaitFrames(kSettleFrames))
            return false;
        const Shot second = Capture();
        return ::Shown(second) == scene && second.Like(first);
    }

    /// Presses the key, which the scene shown now takes by leaving, and waits for the next scene to settle.
    void Reach(const std::string& scene, KeySym key)
    {
        const std::string before = Shown();
        ASSERT_TRUE(Press({key}, [&] { return Shown() != before; })) << "the " << before << " did not take the key";
        ASSERT_TRUE(WaitFor([&] { return Settled(scene); }))
            << "the screen shows the " << Shown() << ", not the " << scene;
    }

    /// Decide skips the two splashes once their grace time is over; pressed while a splash shows.
    void ReachTitleMenu()
    {
        const bool reached = WaitFor([&] {
            if (Shown() == "splash")
                Press({XK_Return}, [&] { return Shown() != "splash"; });
            return Settled("title menu");
        });
        ASSERT_TRUE(reached) << "the screen shows " << Shown()
                             << (program->HasExited() ? "; the program ended:\n" + Log() : "");
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

    /// Whether a white label at (x, y) with the height, left-aligned and centred vertically (`centred` false: at
    /// its top), shows the text on a 1920 x 1080 client area: nearly every pixel its glyphs cover fully is white, and
    /// nearly every one they leave bare is not. The text is looked for a few pixels either way.
    bool Shows(FontReader& font, const std::string& text, int x, int y, int height, bool centred = true)
    {
        const Shot shot = Capture();
        if (shot.width != 1920 || shot.height != 1080)
            return false;
        const int top = y + (centred ? (height - font.LineHeight()) / 2 : 0);
        return font.ShowsWhite(shot.pixels, shot.width, shot.height, text, x, top);
    }

    korvane::test::TempDir data;
    Display* display = nullptr;
    Window window = 0;
    int damageEvent = 0;
    Damage damage = 0;
    long frames = 0;
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
    for (const std::string mode : {"true", "false"})
        EXPECT_TRUE(Press({XK_Alt_L, XK_Return},
                          [&] { return LogHas("Fullscreen Mode Changed (Fullscreen = " + mode + ")."); }));
    ASSERT_NO_FATAL_FAILURE(ReachTitleMenu());
    program->Terminate();
    ASSERT_TRUE(program->WaitForExit(kPatience)) << "the program did not end";
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
    ASSERT_NO_FATAL_FAILURE(Reach("game", XK_Return));
    ASSERT_NO_FATAL_FAILURE(Reach("pause menu", XK_Escape));
    // Continue holds the focus.
    ASSERT_NO_FATAL_FAILURE(Reach("game", XK_Return));
    ASSERT_NO_FATAL_FAILURE(Reach("pause menu", XK_Escape));
    // Down takes the pointer to the second button.
    int row = -1;
    ASSERT_TRUE(WaitFor([&] { return (row = PointerRow(Capture())) >= 0; })) << "no focus pointer";
    ASSERT_TRUE(Press({XK_Down}, [&] { return PointerRow(Capture()) > row + 8; })) << "the focus did not move";
    ASSERT_NO_FATAL_FAILURE(Reach("confirmation", XK_Return));
    // Accepting returns to the title menu with that game's button focused: decide starts it again.
    ASSERT_NO_FATAL_FAILURE(Reach("title menu", XK_Return));
    ASSERT_NO_FATAL_FAILURE(Reach("game", XK_Return));

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

TEST_F(GameFlowX11Test, TheKeyboardMappingScreenShowsEachRowsNameNotItsTextKey)
{
    // A window of 1920 x 1080 pixels: one canvas unit to a pixel.
    std::filesystem::create_directories(Folder());
    std::ofstream(Folder() + "display_setting.ini")
        << "ScreenWidth=1920\r\nScreenHeight=1080\r\nScreenRefreshRatio=0\r\nWindowed=true\r\n";
    FontReader large("QVR2WinAsciiLarge"), medium("QVR2WinAsciiMedium");
    // The program traces the focus it moves, which tells that a key was taken.
    setenv("KORVANE_UI_TRACE", "1", 1);
    ASSERT_NO_FATAL_FAILURE(Start());
    unsetenv("KORVANE_UI_TRACE");
    // Each menu's title in place tells that it has opened; its third entry leads on, then the first. The title menu
    // is a skinned window: its layout starts at its client area, 8 in from the left and 32 down.
    const std::tuple<const char*, int, int, int> menus[] = {
        {"GAME SELECT", 644, 136, 2}, {"OPTIONS", 636, 104, 2}, {"CONTROLLER SETTINGS", 636, 104, 0}};
    for (const auto& [title, x, y, downs] : menus) {
        ASSERT_TRUE(WaitFor([&] { return Shows(large, title, x, y, 31, false); })) << title;
        // A move of the focus shows in the trace; decide shows by the menu's title going.
        for (int i = 0; i < downs; ++i) {
            const std::size_t from = Log().size();
            ASSERT_TRUE(Press({XK_Down}, [&] { return Log().find("UI: focus ", from) != std::string::npos; })) << title;
        }
        ASSERT_TRUE(Press({XK_Return}, [&] { return !Shows(large, title, x, y, 31, false); })) << title;
    }
    ASSERT_TRUE(WaitFor([&] { return Shows(large, "Keyboard Mapping", 636, 104, 31, false); }));
    // The system rows are dimmed on the keyboard's screen: the four play buttons' rows are read.
    const std::tuple<const char*, const char*, int> rows[] = {{" Frontal Shot", "180", 200},
                                                              {" Wide Shot", "181", 256},
                                                              {" Shield", "182", 312},
                                                              {" SUPER SHOT", "183", 368}};
    // The rows may still be fading in after the title: each caption is awaited, then its key must not show.
    for (const auto& [caption, key, y] : rows) {
        EXPECT_TRUE(WaitFor([&] { return Shows(medium, caption, 688, y, 32); })) << caption;
        EXPECT_FALSE(Shows(medium, key, 688, y, 32)) << key;
    }
    EXPECT_EQ(0, CloseAndWait());
}

} // namespace
