/** @file GameFlowX11Test.cpp The built program on a real X server: its banner, full-screen switching, and, driven
 * by keys, from the title menu into a game, through the pause menu and its confirmation, to a close mid-game; a
 * termination request and a close request each end it in order; the texts of the key mapping screen read back
 * from the window. */
#include <gtest/gtest.h>

// Before Xlib, whose macros (None among them) would clash with the graphics layer's names.
#include "KorvaneXDK/platform/graphics/TextureFont.h"
#include "os/gfx/ImageDecoder.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <filesystem>
#include <fstream>

#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "host/ProgramProcess.h"
#include "support/TempDir.h"

namespace
{

/// One of the program's fonts as the build made it, to read texts back from the window: the pixels that its
/// glyphs cover fully come out pure white where the program draws a white text one unit to a pixel.
class FontReader
{
public:
    explicit FontReader(const std::string& name)
    {
        const std::string base = KORVANE_BINARY_DIR "/generated/fontbuild/fonts/" + name;
        korvane::CFileStream table(base + ".kvf", 1, 1);
        font_.LoadTable(table, false);
        const std::string png = korvane::test::TempDir::Read(base + ".png");
        os::gfx::DecodePng(reinterpret_cast<const std::uint8_t*>(png.data()), png.size(), {}, &page_);
    }
    std::int32_t LineHeight() { return font_.GetLineHeight(""); }
    /// The pixels of the text drawn from (x, y), as the font draws it, that its glyphs cover fully (`covered`) or
    /// leave bare.
    std::vector<std::pair<int, int>> Pixels(const std::string& text, int x, int y, bool covered)
    {
        std::vector<std::pair<int, int>> pixels;
        int pen = x + font_.GetLeftOffset();
        for (const char c : text) {
            const korvane::CTextureFont::Glyph* glyph = font_.FindGlyph(static_cast<std::uint8_t>(c));
            if (glyph == nullptr || page_.levels.empty())
                continue;
            for (int gy = 0; gy < glyph->Height; ++gy)
                for (int gx = 0; gx < glyph->Width; ++gx) {
                    const std::size_t texel = static_cast<std::size_t>(glyph->Y + gy) * page_.width + glyph->X + gx;
                    const std::uint8_t alpha = page_.levels[0][texel * 4 + 3];
                    if (alpha == (covered ? 0xFF : 0x00))
                        pixels.emplace_back(pen + glyph->OffsetX + gx, y + font_.GetTopOffset() + glyph->OffsetY + gy);
                }
            pen += glyph->Advance;
        }
        return pixels;
    }

private:
    korvane::CTextureFont font_;
    os::gfx::DecodedImage page_;
};

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
    /// Focuses the window and presses the keys together, held and then released a while so that the
    /// program's once-a-frame poll sees both (the same key pressed twice is two presses).
    void Press(std::initializer_list<KeySym> keys)
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        for (const Bool down : {True, False}) {
            for (KeySym key : keys)
                XTestFakeKeyEvent(display, XKeysymToKeycode(display, key), down, CurrentTime);
            XSync(display, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
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

    /// Whether a white label at (x, y) with the height, left-aligned and centred vertically (`centred` false: at
    /// its top), shows the text on a 1920 x 1080 client area: nearly every pixel its glyphs cover fully is white, and
    /// nearly every one they leave bare is not. The camera stands one unit in, so the text is looked for a few pixels
    /// either way.
    bool Shows(FontReader& font, const std::string& text, int x, int y, int height, bool centred = true)
    {
        const Shot shot = Capture();
        if (shot.width != 1920 || shot.height != 1080)
            return false;
        const int top = y + (centred ? (height - font.LineHeight()) / 2 : 0);
        const auto covered = font.Pixels(text, x, top, true);
        const auto bare = font.Pixels(text, x, top, false);
        // The share of the pixels, moved by (dx, dy), that are white, in tenths.
        const auto whiteTenths = [&](const std::vector<std::pair<int, int>>& pixels, int dx, int dy) {
            std::size_t white = 0;
            for (const auto& [px, py] : pixels)
                if (px + dx >= 0 && px + dx < shot.width && py + dy >= 0 && py + dy < shot.height &&
                    (shot.At(px + dx, py + dy) & 0xF0F0F0u) == 0xF0F0F0u)
                    ++white;
            return pixels.empty() ? 0 : white * 10 / pixels.size();
        };
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (whiteTenths(covered, dx, dy) >= 9 && whiteTenths(bare, dx, dy) < 1)
                    return true;
        return false;
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

// The keyboard's mapping screen, reached from the title menu by keys, names each play button's row; the text key
// behind a row never shows.
TEST_F(GameFlowX11Test, TheKeyboardMappingScreenShowsEachRowsNameNotItsTextKey)
{
    // A window of 1920 x 1080 pixels: one canvas unit to a pixel.
    std::filesystem::create_directories(Folder());
    std::ofstream(Folder() + "display_setting.ini")
        << "ScreenWidth=1920\r\nScreenHeight=1080\r\nScreenRefreshRatio=0\r\nWindowed=true\r\n";
    FontReader large("QVR2WinAsciiLarge"), medium("QVR2WinAsciiMedium");
    ASSERT_NO_FATAL_FAILURE(Start());
    // Each menu's title in place tells that it has opened; its third entry leads on, then the first.
    const std::tuple<const char*, int> menus[] = {{"GAME SELECT", 2}, {"OPTIONS", 2}, {"CONTROLLER SETTINGS", 0}};
    for (const auto& [title, downs] : menus) {
        ASSERT_TRUE(WaitFor([&] { return Shows(large, title, 636, 104, 31, false); }, 60)) << title;
        for (int i = 0; i < downs; ++i)
            Press({XK_Down});
        Press({XK_Return});
    }
    ASSERT_TRUE(WaitFor([&] { return Shows(large, "Keyboard Mapping", 636, 104, 31, false); }, 60));
    // The system rows are dimmed on the keyboard's screen: the four play buttons' rows are read.
    const std::tuple<const char*, const char*, int> rows[] = {{" Frontal Shot", "180", 200},
                                                              {" Wide Shot", "181", 256},
                                                              {" Shield", "182", 312},
                                                              {" SUPER SHOT", "183", 368}};
    for (const auto& [caption, key, y] : rows)
        EXPECT_EQ(std::pair(true, false), std::pair(Shows(medium, caption, 688, y, 32), Shows(medium, key, 688, y, 32)))
            << caption;
    EXPECT_EQ(0, CloseAndWait());
}

} // namespace
