/** @file VideoDriver.cpp Whether the session has a display the game window can be shown on. */
#include "os/window/VideoDriver.h"

#include <cstdlib>
#include <cstring>

#include <SDL.h>

namespace os::window
{

namespace
{

/// Drivers that SDL falls back to with no window system: a program on them runs unseen.
bool ShowsNothing(const char* driver)
{
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

} // namespace

bool HasDisplay(std::string& reason)
{
    reason.clear();
    const char* asked = std::getenv("SDL_VIDEODRIVER");
    if (asked != nullptr && *asked != '\0')
        return true;
    const char* const advice = "Start the game from a desktop session (DISPLAY or WAYLAND_DISPLAY set), or name a "
                               "video driver in SDL_VIDEODRIVER.";
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        reason = std::string("There is no display to show the game on (") + SDL_GetError() + "). " + advice;
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (ShowsNothing(driver)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        reason = std::string("There is no display to show the game on: no window system answered. ") + advice;
        return false;
    }
    return true;
}

} // namespace os::window
