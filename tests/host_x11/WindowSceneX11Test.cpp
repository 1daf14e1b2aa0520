/** @file WindowSceneX11Test.cpp The built program with the build's archive on the X server: the splashes, the
 * title menu turned as the display settings say, and the menu driven by XTest keys. */
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "host/ProgramProcess.h"
#include "host_x11/X11ProgramSupport.h"
#include "support/TempDir.h"

namespace
{

using Clock = std::chrono::steady_clock;

class WindowSceneX11 : public ::testing::Test
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
        const std::string bin = std::string(KORVANE_BINARY_DIR) + "/bin/";
        ASSERT_TRUE(std::filesystem::exists(bin + "vorthenix")) << "build the program target first";
        ASSERT_TRUE(std::filesystem::exists(bin + "data.kva")) << "build the data_archive target first";
        std::filesystem::create_directories(dir.File("program"));
        std::filesystem::copy_file(bin + "vorthenix", dir.File("program/vorthenix"));
        std::filesystem::copy_file(bin + "data.kva", dir.File("program/data.kva"));
    }
    void TearDown() override
    {
        program.reset();
        if (display != nullptr)
            XCloseDisplay(display);
    }

    /// The display settings as the program writes them, with the rotation given.
    void WriteDisplaySettings(int rotation)
    {
        dir.Write("data/Vumo/VorthenixZambrelliot/display_setting.ini",
                  "ScreenAspectRatio=0\nScreenHeight=1080\nScreenRefreshRatio=0\nScreenRotation=" +
                      std::to_string(rotation) + "\nScreenWidth=1920\nWindowed=true\n");
    }
    void Start()
    {
        program = std::make_unique<program_test::ProgramProcess>(
            dir.File("program/vorthenix"), std::map<std::string, std::string>{{"XDG_DATA_HOME", dir.File("data")},
                                                                              {"SDL_NO_SIGNAL_HANDLERS", ""},
                                                                              {"KORVANE_NO_MESSAGE_BOX", "1"}});
        ASSERT_TRUE(program->Started());
    }

    /// The colour at a fraction of the window's client area; 0 when it cannot be read.
    std::uint32_t Pixel(float fx, float fy)
    {
        if (window == 0)
            window = korvane::test::x11::FindProgramWindow(display);
        XWindowAttributes attributes;
        if (window == 0 || XGetWindowAttributes(display, window, &attributes) == 0)
            return 0;
        XImage* image =
            XGetImage(display, window, static_cast<int>(fx * static_cast<float>(attributes.width)),
                      static_cast<int>(fy * static_cast<float>(attributes.height)), 1, 1, AllPlanes, ZPixmap);
        if (image == nullptr)
            return 0;
        const std::uint32_t pixel = 0xFF000000u | static_cast<std::uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
        XDestroyImage(image);
        return pixel;
    }
    /// Polls the program's window (its own pace, not a synchronisation) until `shown` holds.
    bool WaitFor(const std::function<bool()>& shown, double seconds)
    {
        const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < deadline && !program->HasExited()) {
            if (shown())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
    // Held over several frames: the program reads the keyboard once a frame.
    void Key(KeySym symbol) { korvane::test::x11::PressKey(display, symbol, 200); }

    static int Channel(std::uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }
    static bool Dark(std::uint32_t p) { return Channel(p, 16) < 0x10 && Channel(p, 8) < 0x10 && Channel(p, 0) < 0x10; }
    static bool White(std::uint32_t p) { return Channel(p, 16) > 0xF0 && Channel(p, 8) > 0xF0 && Channel(p, 0) > 0xF0; }
    static bool Mid(std::uint32_t p)
    {
        for (int shift : {0, 8, 16})
            if (Channel(p, shift) < 0x30 || Channel(p, shift) > 0xC0)
                return false;
        return true;
    }
    /// The logo splash is black, the title splash white around its logo, once the program draws
    /// (before, the window is 0x202020).
    bool SplashShown()
    {
        const std::uint32_t p = Pixel(0.5f, 0.1f);
        return Dark(p) || White(p);
    }
    /// The cursor's orange arrow near a point, in one look.
    bool ArrowSeen(float fx, float fy)
    {
        for (float dy = -0.01f; dy <= 0.011f; dy += 0.01f) {
            for (float dx = -0.005f; dx <= 0.006f; dx += 0.005f) {
                const std::uint32_t p = Pixel(fx + dx, fy + dy);
                if (Channel(p, 16) > 0xA0 && Channel(p, 8) > 0x60 && Channel(p, 8) < 0xD0 && Channel(p, 0) < 0x80)
                    return true;
            }
        }
        return false;
    }
    /// The arrow seen at least once over a few of its pulses (and its glide there).
    bool ArrowNear(float fx, float fy)
    {
        return WaitFor([&] { return ArrowSeen(fx, fy); }, 3.0);
    }
    void FocusWindow()
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
    }
    double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

    korvane::test::TempDir dir;
    Display* display = nullptr;
    Window window = 0;
    std::unique_ptr<program_test::ProgramProcess> program;
};

TEST_F(WindowSceneX11, SplashesThenTheTitleMenuAndKeysMoveItsFocus)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitFor([&] { return SplashShown(); }, 60.0)) << "no splash";
    const auto splash = Clock::now();
    // Focused well before the first key, so the program has seen the focus when it comes.
    FocusWindow();
    // The menu is there once the pointer rests on its first entry.
    ASSERT_TRUE(WaitFor([&] { return ArrowNear(0.35f, 0.2f); }, 60.0)) << "no title menu";
    // Each splash stays 2.5 s unless skipped.
    EXPECT_GT(Since(splash), 4.0);
    // The picture is upright: the wallpaper reaches the left edge.
    EXPECT_NE(0xFF202020u, Pixel(0.02f, 0.5f));

    // Down moves the focus to the second entry, up back to the first.
    Key(XK_Down);
    EXPECT_TRUE(ArrowNear(0.35f, 0.253f));
    Key(XK_Up);
    EXPECT_TRUE(ArrowNear(0.35f, 0.2f));

    program->Terminate();
    EXPECT_EQ(0, program->Wait());
}

TEST_F(WindowSceneX11, DecideSkipsBothSplashesAndTheMenuTurnsAsTheSettingsSay)
{
    WriteDisplaySettings(1);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitFor([&] { return SplashShown(); }, 60.0)) << "no splash";
    const auto splash = Clock::now();
    FocusWindow();
    // Decide, pressed while either splash shows, skips the logo splash, then the title splash.
    ASSERT_TRUE(WaitFor(
        [&] {
            if (SplashShown())
                Key(XK_Return);
            // The first entry, turned a quarter about the centre and scaled by 14/9.
            return ArrowSeen(0.7625f, 0.085f);
        },
        60.0))
        << "no title menu";
    EXPECT_LT(Since(splash), 4.0);
    // A quarter turn, scaled to fit: the picture leaves the cleared back buffer at both sides.
    EXPECT_TRUE(WaitFor([&] { return Pixel(0.02f, 0.5f) == 0xFF202020u && Pixel(0.98f, 0.5f) == 0xFF202020u; }, 5.0));

    program->Terminate();
    EXPECT_EQ(0, program->Wait());
}

} // namespace
