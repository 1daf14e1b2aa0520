/** @file GameFlowX11Test.cpp The built program on a real X server, driven by keys from the title menu into a game,
 * through the pause menu and its confirmation, to a close of the window in the middle of the game. */
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host_x11/X11ProgramSupport.h"
#include "support/TempDir.h"

namespace
{

using namespace korvane::test::x11;

struct Rgb
{
    int r = 0, g = 0, b = 0;
};

/// What the screen shows, told by two pixels: the centre and a point near the left edge.
enum class Scene
{
    Other,
    TitleMenu, ///< the menu band in the middle, the space wallpaper beside it
    Game,      ///< the game's black picture in the middle, the wallpaper beside it
    Paused,    ///< everything under the pause menu's blue tint
    Confirm,   ///< the confirmation's bright blue box in the middle over the game
};

const char* Name(Scene scene)
{
    switch (scene) {
    case Scene::TitleMenu:
        return "title menu";
    case Scene::Game:
        return "game";
    case Scene::Paused:
        return "pause menu";
    case Scene::Confirm:
        return "confirmation";
    default:
        return "something else";
    }
}

bool BlueTinted(const Rgb& c)
{
    return c.b > 110 && c.b > c.r + 60;
}

class GameFlowX11Test : public SpawnedProgramTest
{
protected:
    void SetUp() override
    {
        SpawnedProgramTest::SetUp();
        folder = data.Path() + "Vumo/VorthenixZambrelliot/";
    }

    void Start()
    {
        ASSERT_EQ(0, SpawnProgram(data.Path(), child));
        ASSERT_TRUE(WaitFor([&] { return (window = FindProgramWindow(display)) != 0; })) << "no window";
    }

    /// Asks the window to close and waits for the exit status.
    int CloseAndWait()
    {
        RequestClose(display, window);
        int status = -1;
        EXPECT_TRUE(WaitFor([&] { return waitpid(child, &status, WNOHANG) == child; })) << "the program did not end";
        child = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    void Press(KeySym key)
    {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        PressKey(display, key, 120);
    }

    Scene Shown()
    {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, window, &attributes) == 0)
            return Scene::Other;
        const int w = attributes.width;
        const int h = attributes.height;
        XImage* image =
            XGetImage(display, window, 0, 0, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
        if (image == nullptr)
            return Scene::Other;
        const auto at = [&](int x, int y) {
            const unsigned long p = XGetPixel(image, x, y);
            return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                       static_cast<int>(p & 0xFF)};
        };
        const Rgb centre = at(w / 2, h / 2);
        const Rgb side = at(w / 20, h / 2);
        XDestroyImage(image);
        const int brightness = centre.r + centre.g + centre.b;
        if (BlueTinted(side))
            return Scene::Paused;
        if (BlueTinted(centre) && brightness > 300)
            return Scene::Confirm;
        if (brightness == 0 && side.r + side.g + side.b > 0)
            return Scene::Game;
        if (brightness > 120 && !BlueTinted(centre))
            return Scene::TitleMenu;
        return Scene::Other;
    }

    /// Presses the key (when given) and waits for the scene; once more if the first press fell
    /// into an opening animation, which ignores keys.
    void Reach(Scene scene, KeySym key = NoSymbol, int seconds = 8)
    {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (key != NoSymbol)
                Press(key);
            if (WaitFor([&] { return Shown() == scene; }, seconds))
                return;
        }
        ADD_FAILURE() << "the screen shows " << Name(Shown()) << ", not the " << Name(scene);
    }

    /// Decide skips the two splashes.
    void ReachTitleMenu()
    {
        for (int i = 0; i < 20 && Shown() != Scene::TitleMenu; ++i) {
            Press(XK_Return);
            WaitFor([&] { return Shown() == Scene::TitleMenu; }, 2);
        }
        ASSERT_EQ(Scene::TitleMenu, Shown());
    }

    std::string folder;
};

TEST_F(GameFlowX11Test, FromTheTitleMenuIntoAGameThroughThePauseMenuToAClose)
{
    // A first run writes the settings, so that the second starts without missing files.
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ReachTitleMenu());
    ASSERT_EQ(0, CloseAndWait());
    std::remove((folder + "vorthenix.log").c_str());

    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(ReachTitleMenu());
    Reach(Scene::Game, XK_Return);
    Reach(Scene::Paused, XK_Escape);
    // Continue holds the focus.
    Reach(Scene::Game, XK_Return);
    Reach(Scene::Paused, XK_Escape);
    Press(XK_Down);
    Reach(Scene::Confirm, XK_Return);
    // Accepting returns to the title menu with that game's button focused: decide starts it again.
    Reach(Scene::TitleMenu, XK_Return);
    Reach(Scene::Game, XK_Return);

    // Closing the window mid-game ends the program cleanly.
    EXPECT_EQ(0, CloseAndWait());
    const std::vector<std::string> lines = ReadLines(folder + "vorthenix.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(std::string::npos, lines.back().find("---- Application finalized ----"));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find("ERROR") != std::string::npos) {
            std::string report;
            for (std::size_t j = i; j < lines.size() && j < i + 5; ++j)
                report += lines[j] + "\n";
            ADD_FAILURE() << "an error in the log:\n" << report;
            break;
        }
    }

    DIR* dir = opendir(folder.c_str());
    ASSERT_NE(nullptr, dir);
    int files = 0;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        ++files;
        EXPECT_FALSE(name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0) << name;
        struct stat info;
        ASSERT_EQ(0, stat((folder + name).c_str(), &info)) << name;
        std::ifstream in(folder + name, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(static_cast<std::size_t>(info.st_size), bytes.size()) << name;
        EXPECT_GT(bytes.size(), 0u) << name;
    }
    closedir(dir);
    EXPECT_GE(files, 3);
}

} // namespace
