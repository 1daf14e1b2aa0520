/** @file ScreenWalkX11Test.cpp The built program on a real X server, played with keys as a person plays it, once in
 * English and once in Japanese: every screen entered and left, told by the forms the program logs as it opens and
 * closes them and by the inputs its window scene traces; the texts of the title menu and the controller settings read
 * back from the window at 4.5:1 or more against what is drawn behind them; and a screen mode ended before it was
 * confirmed. */
#include <gtest/gtest.h>

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/ProgramProcess.h"
#include "host_x11/ProgramWindow.h"
#include "support/Contrast.h"
#include "support/FontReader.h"
#include "support/ReferenceImage.h"
#include "support/TempDir.h"

namespace
{

using korvane::test::FontReader;

/// A text on the window, one canvas unit to a pixel: the control's name, its font and text, the top left of its
/// control and the height the text is centred in (0: drawn at the top). Pixels left of `fromX` are not read.
struct PlacedText
{
    const char* name;
    const char* font;
    const char* text;
    int x, y, height;
    int fromX = 0;
};

/// The pointer on the focused item reaches 21 pixels into it: the menus' entries are read from this far in.
constexpr int kPastThePointer = 24;

/// The program, started with its input trace on, its user data in a temporary folder and the language of the
/// environment; keys reach its window through XTest.
class ScreenWalkX11Test : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            GTEST_SKIP() << "no X display";
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        setenv("XDG_DATA_HOME", data.Path().c_str(), 1);
        // A window of 1920 x 1080 pixels: one canvas unit to a pixel.
        const std::string folder = data.Path() + "Vumo/VorthenixZambrelliot/";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "display_setting.ini")
            << "ScreenWidth=1920\r\nScreenHeight=1080\r\nScreenRefreshRatio=0\r\nWindowed=true\r\n";
        setenv("KORVANE_UI_TRACE", "1", 1);
        unsetenv("LC_ALL");
        unsetenv("LC_MESSAGES");
        setenv("LANG", GetParam(), 1);
        ASSERT_NO_FATAL_FAILURE(Start());
    }
    /// Starts the program (again) and waits for its window.
    void Start()
    {
        program = std::make_unique<program_test::ProgramProcess>(KORVANE_BINARY_DIR "/bin/vorthenix");
        lost = false;
        ASSERT_TRUE(program->Started());
        ASSERT_TRUE(WaitFor([&] { return (window = program_test::FindProgramWindow(display)) != 0; }, 120))
            << "no window";
    }
    void TearDown() override
    {
        if (display != nullptr) {
            for (KeyCode key : held)
                XTestFakeKeyEvent(display, key, False, CurrentTime);
            XSync(display, False);
        }
        program.reset();
        if (display != nullptr)
            XCloseDisplay(display);
        unsetenv("KORVANE_UI_TRACE");
    }

    /// Polls (the program's own pace, not a synchronisation) until the condition holds, the time is up or the
    /// program has ended.
    bool WaitFor(const std::function<bool()>& condition, double seconds)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end || program->HasExited())
                return condition();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    }

    std::string Log() { return korvane::test::TempDir::Read(data.Path() + "Vumo/VorthenixZambrelliot/vorthenix.log"); }
    /// Whether the log, past `from`, has the line.
    bool LogHas(const std::string& line, std::size_t from = 0) { return Log().find(line, from) != std::string::npos; }

    void Key(KeySym symbol, bool down)
    {
        const KeyCode key = XKeysymToKeycode(display, symbol);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XTestFakeKeyEvent(display, key, down ? True : False, CurrentTime);
        XSync(display, False);
        if (down)
            held.push_back(key);
        else
            held.erase(std::remove(held.begin(), held.end(), key), held.end());
    }

    /// The named action a key stands for by default, whose release the trace tells; empty for others.
    static std::string ActionOf(KeySym symbol)
    {
        switch (symbol) {
        case XK_Return:
            return "decide";
        case XK_Escape:
            return "cancel";
        case XK_Up:
            return "up";
        case XK_Down:
            return "down";
        case XK_Left:
            return "left";
        case XK_Right:
            return "right";
        default:
            return "";
        }
    }

    /// Waits for the line past `from`; a miss loses the walk, with the log's end told.
    bool Await(const std::string& line, std::size_t from, const std::string& after)
    {
        if (WaitFor([&] { return LogHas(line, from); }, 90))
            return true;
        lost = true;
        const std::string log = Log();
        ADD_FAILURE() << after << " never gave \"" << line << "\"; the log ends:\n"
                      << log.substr(log.size() - std::min<std::size_t>(log.size(), 4000));
        return false;
    }

    /// A press as a person makes it, held until the program has taken it (the line it writes in that frame), then
    /// let go until it has seen the release, so that a next press of the same key is a press again.
    void Press(KeySym symbol, const std::string& taken)
    {
        // After a press that went nowhere the walk is lost: the rest would only wait.
        if (lost)
            return;
        const std::size_t from = Log().size();
        Key(symbol, true);
        const bool seen = Await(taken, from, XKeysymToString(symbol));
        const std::size_t released = Log().size();
        Key(symbol, false);
        if (seen && !ActionOf(symbol).empty())
            Await("UI: released " + ActionOf(symbol), released, std::string(XKeysymToString(symbol)) + " let go");
    }

    /// Down (or up) until the form's control named so holds the focus.
    void FocusTo(const std::string& control, KeySym symbol = XK_Down)
    {
        for (int i = 0; i < 8 && !lost; ++i) {
            const std::size_t from = Log().size();
            Press(symbol, "UI: focus ");
            if (Log().find("UI: focus " + control + "\n", from) != std::string::npos)
                return;
        }
        if (!lost)
            ADD_FAILURE() << "the focus never reached " << control;
        lost = true;
    }

    /// The form opened (or closed) since `from`, waited for: a form the program starts by itself.
    void ExpectLine(const std::string& line, std::size_t from, double seconds = 60)
    {
        if (lost)
            return;
        EXPECT_TRUE(WaitFor([&] { return LogHas(line, from); }, seconds)) << "no \"" << line << "\"";
    }

    /// A game from the title menu: paused, continued, paused, left through the confirmation.
    void PlayAndLeave(const std::string& button)
    {
        FocusTo(button);
        std::size_t from = Log().size();
        Press(XK_Return, "UI: click at ");
        ExpectLine("Form closed: GameSelectForm", from);
        Press(XK_Escape, "Form opened: PauseForm");
        from = Log().size();
        Press(XK_Return, "UI: click at ");
        ExpectLine("Form closed: PauseForm", from);
        Press(XK_Escape, "Form opened: PauseForm");
        FocusTo("ExitButton");
        Press(XK_Return, "Form opened: DialogForm");
        from = Log().size();
        Press(XK_Return, "UI: key 0x0D");
        ExpectLine("Form opened: GameSelectForm", from);
    }

    /// A key held on the focused key-mapping row until a frame has taken it: Left, whose trace tells the frames,
    /// comes and goes while the key is down (the row takes nothing while Left is held, and the key in the frame that
    /// tells Left's release).
    void Rebind(KeySym symbol)
    {
        Key(symbol, true);
        Press(XK_Left, "UI: key 0x25");
        Key(symbol, false);
    }

    /// Each text on the window at 4.5:1 or more against what is drawn behind it, read once the screen's title (the
    /// first text) shows white in place: the form has finished opening. A failing window is kept as a picture in the
    /// build folder, named in the failure.
    void ExpectTextsStandOut(const std::string& screen, const std::vector<PlacedText>& texts)
    {
        if (lost)
            return;
        const auto top = [](FontReader& font, const PlacedText& text) {
            return text.y + (text.height > 0 ? (text.height - font.LineHeight()) / 2 : 0);
        };
        korvane::test::ReferenceImage shown;
        FontReader titleFont(texts.front().font);
        const bool settled = WaitFor(
            [&] {
                int width = 0, height = 0;
                shown.pixels = program_test::ReadWindowPixels(display, window, width, height);
                shown.width = static_cast<std::uint32_t>(width);
                shown.height = static_cast<std::uint32_t>(height);
                return width == 1920 && height == 1080 &&
                       titleFont.ShowsWhite(shown.pixels, width, height, texts.front().text, texts.front().x,
                                            top(titleFont, texts.front()));
            },
            90);
        ASSERT_TRUE(settled) << screen << ": \"" << texts.front().text << "\" never showed in place";
        bool legible = true;
        for (const PlacedText& text : texts) {
            FontReader font(text.font);
            const double contrast =
                korvane::test::PlacedTextContrast(shown, font, text.text, text.x, top(font, text), 2, text.fromX);
            EXPECT_GE(contrast, 4.5) << screen << ": " << text.name;
            legible = legible && contrast >= 4.5;
        }
        if (!legible) {
            const std::string path =
                KORVANE_BINARY_DIR "/tests/host_x11-" + std::string(GetParam()).substr(0, 2) + "-" + screen + ".png";
            korvane::test::WriteImage(path, shown);
            ADD_FAILURE() << "the window as it showed: " << path;
        }
    }

    /// The keyboard's binding 0 of the action as the preferences file keeps it, -1 when absent.
    static int StoredKeyboardCode(const std::string& file, const std::string& action)
    {
        // Each pair: the action as a 32-bit length and its bytes, then the 32-bit code; the keyboard's record is
        // the first.
        const std::string pattern = std::string(1, static_cast<char>(action.size())) + std::string(3, '\0') + action;
        const std::size_t at = file.find(pattern);
        if (at == std::string::npos || at + pattern.size() + 4 > file.size())
            return -1;
        std::uint32_t code = 0;
        std::memcpy(&code, file.data() + at + pattern.size(), 4);
        return static_cast<int>(code);
    }

    korvane::test::TempDir data;
    Display* display = nullptr;
    Window window = 0;
    std::vector<KeyCode> held;
    bool lost = false;
    std::unique_ptr<program_test::ProgramProcess> program;
};

TEST_P(ScreenWalkX11Test, EveryScreenIsEnteredAndLeftWithKeys)
{
    const bool japanese = std::string(GetParam()).rfind("ja", 0) == 0;
    ExpectLine("Form opened: LogoSplashForm", 0);
    EXPECT_TRUE(LogHas(japanese ? "Current game language == 'japanese'" : "Current game language == 'english'"));

    // Decide skips each splash.
    Press(XK_Return, "Form closed: LogoSplashForm");
    if (!LogHas("Form opened: GameSelectForm"))
        Press(XK_Return, "Form opened: GameSelectForm");
    ExpectLine("Form closed: TitleSplashForm", 0);

    // The title menu, a skinned window whose layout starts 8 in and 32 down: its title, buttons and caption (its form
    // name in the band along its top).
    FocusTo("CompanionGameButton");
    const int in = kPastThePointer;
    const char* const large = "QVR2WinAsciiLarge";
    const char* const medium = "QVR2WinAsciiMedium";
    ExpectTextsStandOut("title-menu", {{"Label1", large, "GAME SELECT", 644, 136, 0},
                                       {"MainGameButton", medium, " Vorthenix Zambrelliot", 696, 232, 32, 696 + in},
                                       {"CompanionGameButton", medium, " Tessaril", 696, 288, 32, 696 + in},
                                       {"OptionsButton", medium, " Options", 696, 384, 32, 696 + in},
                                       {"LeaderboardsButton", medium, " Leaderboards", 696, 440, 32, 696 + in},
                                       {"CreditsButton", medium, " Credits", 696, 496, 32, 696 + in},
                                       {"ExitButton", medium, " Exit", 696, 592, 32, 696 + in},
                                       {"caption", "FONT12T2S", "GameSelectForm", 8, 0, 24}});

    PlayAndLeave("MainGameButton");
    PlayAndLeave("CompanionGameButton");

    // Options: sound, screen (a mode kept, then one let run out), controllers and the keyboard's mapping.
    FocusTo("OptionsButton");
    Press(XK_Return, "Form opened: OptionsForm");
    FocusTo("SoundSettingsButton");
    Press(XK_Return, "Form opened: SoundSettingsForm");
    Press(XK_Left, "UI: key 0x25");
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Escape, "Form opened: OptionsForm");

    FocusTo("ScreenSettingsButton", XK_Up);
    Press(XK_Return, "Form opened: ScreenSettingsForm");
    Press(XK_Right, "UI: key 0x27");
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Return, "Form opened: DialogForm");
    // One Return keeps the mode and closes the question and the screen with it: the options come back once.
    std::size_t from = Log().size();
    Press(XK_Return, "Form opened: OptionsForm");
    ExpectLine("Form closed: DialogForm", from);
    ExpectLine("Form closed: ScreenSettingsForm", from);
    EXPECT_EQ(Log().find("Form opened: OptionsForm", from), Log().rfind("Form opened: OptionsForm"))
        << Log().substr(from);
    FocusTo("ScreenSettingsButton", XK_Up);
    Press(XK_Return, "Form opened: ScreenSettingsForm");
    Press(XK_Left, "UI: key 0x25");
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Return, "Form opened: DialogForm");
    from = Log().size();
    ExpectLine("Form closed: DialogForm", from, 120);
    EXPECT_EQ(std::string::npos, Log().find("UI: key", from)) << "the countdown ran out by itself";
    Press(XK_Return, "Form opened: OptionsForm");

    FocusTo("ControllerSettingsButton");
    from = Log().size();
    Press(XK_Return, "Form opened: ControllerSettingsForm");
    // Its entries, the ones without a controller of their kind dimmed, once it takes keys and the options menu has
    // gone from behind it.
    FocusTo("ExitButton");
    ExpectLine("Form closed: OptionsForm", from);
    ExpectTextsStandOut("controller-settings",
                        {{"Label1", large, "CONTROLLER SETTINGS", 636, 104, 0},
                         {"KeyboardButton", medium, " Keyboard Mapping", 688, 200, 32, 688 + in},
                         {"DirectInputButton", medium, " Direct-Input Mapping", 688, 256, 32, 688 + in},
                         {"XInputButton", medium, " X-Input Mapping", 688, 312, 32, 688 + in},
                         {"ExitButton", medium, " Exit", 688, 408, 32, 688 + in}});
    FocusTo("KeyboardButton", XK_Up);
    Press(XK_Return, "Form opened: KeyMappingForm");
    // Front shot to 1, the defaults back, wide shot to 2: the preferences file tells both.
    FocusTo("FrontShotLabel");
    Rebind(XK_1);
    FocusTo("DefaultButton");
    Press(XK_Return, "UI: click at ");
    FocusTo("WideShotLabel", XK_Up);
    Rebind(XK_2);
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Escape, "Form opened: ControllerSettingsForm");
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Escape, "Form opened: OptionsForm");
    Press(XK_Escape, "UI: key 0x1B");
    Press(XK_Escape, "Form opened: GameSelectForm");

    // Leaderboards: both titles, paging and views in the list, back to the chooser and out.
    FocusTo("LeaderboardsButton");
    Press(XK_Return, "Form opened: LeaderboardSelectForm");
    Press(XK_Right, "UI: key 0x27");
    FocusTo("SearchButton");
    Press(XK_Return, "Form opened: LeaderboardListForm");
    for (const auto& [symbol, key] :
         {std::pair{XK_Down, "0x28"}, {XK_Up, "0x26"}, {XK_Right, "0x27"}, {XK_Left, "0x25"}})
        Press(symbol, std::string("UI: key ") + key);
    Press(XK_Escape, "Form opened: LeaderboardSelectForm");
    FocusTo("TitleLabel");
    Press(XK_Left, "UI: key 0x25");
    FocusTo("SearchButton");
    Press(XK_Return, "Form opened: LeaderboardListForm");
    Press(XK_Escape, "Form opened: LeaderboardSelectForm");
    Press(XK_Escape, "Form opened: GameSelectForm");

    // The credits, left with Escape in one language and Return in the other, with Tab held too: Tab is no key of the
    // menus, so the key still leaves.
    FocusTo("CreditsButton");
    Press(XK_Return, "Form opened: CreditsForm");
    from = Log().size();
    Key(XK_Tab, true);
    Press(japanese ? XK_Return : XK_Escape, "Form opened: GameSelectForm");
    Key(XK_Tab, false);
    ExpectLine("Form closed: CreditsForm", from);
    EXPECT_EQ(std::string::npos, Log().find("UI: pointer", from)) << Log().substr(from);

    // Exit: declined once, then accepted; the program ends in order.
    FocusTo("ExitButton");
    Press(XK_Return, "Form opened: DialogForm");
    from = Log().size();
    Press(XK_Escape, "UI: key 0x1B");
    ExpectLine("Form closed: DialogForm", from);
    Press(XK_Return, "Form opened: DialogForm");
    Key(XK_Return, true);
    EXPECT_TRUE(WaitFor([&] { return program->HasExited(); }, 120)) << "the program did not end";
    Key(XK_Return, false);
    EXPECT_EQ(0, program->Wait());

    const std::string log = Log();
    EXPECT_EQ(std::string::npos, log.find("ERROR", log.find("Form opened: LogoSplashForm"))) << log;
    EXPECT_EQ(std::string::npos, log.find("UI: pointer")) << "the pointer follows the focus throughout";
    const std::string preferences =
        korvane::test::TempDir::Read(data.Path() + "Vumo/VorthenixZambrelliot/preference.dat");
    EXPECT_EQ(std::pair(0x2A, 0x03),
              std::pair(StoredKeyboardCode(preferences, "x2"), StoredKeyboardCode(preferences, "x1")))
        << "front shot back to Left Shift by the defaults, wide shot on 2";
}

/// The walk's program with its termination request handled as a close, to end it at a chosen moment.
class ScreenModeX11Test : public ScreenWalkX11Test
{
protected:
    void SetUp() override
    {
        unsetenv("SDL_NO_SIGNAL_HANDLERS");
        ScreenWalkX11Test::SetUp();
    }

    /// From the splashes to the screen settings; there the mode row one step to the side, Exit (then APPLY) and the
    /// question that follows.
    void ApplyOtherMode(KeySym side)
    {
        ExpectLine("Form opened: LogoSplashForm", 0);
        Press(XK_Return, "Form closed: LogoSplashForm");
        if (!LogHas("Form opened: GameSelectForm"))
            Press(XK_Return, "Form opened: GameSelectForm");
        FocusTo("OptionsButton");
        Press(XK_Return, "Form opened: OptionsForm");
        FocusTo("ScreenSettingsButton", XK_Up);
        Press(XK_Return, "Form opened: ScreenSettingsForm");
        Press(side, "UI: key ");
        Press(XK_Escape, "UI: key 0x1B");
        Press(XK_Return, "Form opened: DialogForm");
    }

    /// Asks the window to close as a window manager would.
    void CloseWindow() { program_test::SendCloseRequest(display, window); }

    /// The display mode the settings file keeps: the lines of its four keys.
    std::string SavedMode()
    {
        std::istringstream lines(
            korvane::test::TempDir::Read(data.Path() + "Vumo/VorthenixZambrelliot/display_setting.ini"));
        std::string mode;
        for (std::string line; std::getline(lines, line);)
            for (const char* key : {"ScreenWidth=", "ScreenHeight=", "ScreenRefreshRatio=", "Windowed="})
                if (line.rfind(key, 0) == 0)
                    mode += line + "\n";
        return mode;
    }
};

// A mode applied and confirmed is kept at the end. One applied but still awaiting the answer when the program ends,
// by a termination request or by the window's closing, is not: the settings file keeps the mode that was in force
// when the screen settings opened, as a refusal would have brought back.
TEST_P(ScreenModeX11Test, OnlyAConfirmedModeIsKeptWhenTheProgramEnds)
{
    ApplyOtherMode(XK_Right);
    Press(XK_Return, "Form opened: OptionsForm");
    ASSERT_FALSE(lost);
    program->Terminate();
    ASSERT_TRUE(WaitFor([&] { return program->HasExited(); }, 120)) << "the program did not end";
    EXPECT_EQ(0, program->Wait());
    const std::string settings = data.Path() + "Vumo/VorthenixZambrelliot/display_setting.ini";
    const std::string file = korvane::test::TempDir::Read(settings), kept = SavedMode();
    EXPECT_NE(std::string::npos, kept.find("Windowed=false")) << kept;

    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "window closed" : "termination requested");
        // Each end starts from the kept mode.
        std::ofstream(settings, std::ios::binary) << file;
        ASSERT_NO_FATAL_FAILURE(Start());
        ApplyOtherMode(XK_Left);
        ASSERT_FALSE(lost);
        const std::size_t asked = Log().size();
        close ? CloseWindow() : program->Terminate();
        ASSERT_TRUE(WaitFor([&] { return program->HasExited(); }, 120)) << "the program did not end";
        EXPECT_EQ(0, program->Wait());
        const std::string log = Log();
        EXPECT_NE(std::string::npos, log.find("Fullscreen Mode Changed (Fullscreen = false).")) << log;
        EXPECT_EQ(std::string::npos, log.find("Form closed: DialogForm", asked)) << "answered before the end";
        EXPECT_EQ(kept, SavedMode());
    }
}

INSTANTIATE_TEST_SUITE_P(English, ScreenModeX11Test, ::testing::Values("en_GB.UTF-8"),
                         [](const auto& info) { return std::string(info.param).substr(0, 2); });

INSTANTIATE_TEST_SUITE_P(Languages, ScreenWalkX11Test, ::testing::Values("en_GB.UTF-8", "ja_JP.UTF-8"),
                         [](const auto& info) { return std::string(info.param).substr(0, 2); });

} // namespace
