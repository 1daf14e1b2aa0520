/** @file XWindowId.cpp The X window of the game window, for xdotool; kept apart because the X headers define
 * macros that clash with the engine's names. */
#include <string>

#include <SDL.h>
#include <SDL_syswm.h>

std::string GameWindowXId()
{
    SDL_Window* window = SDL_GetWindowFromID(1);
    if (window == nullptr)
        return "";
    SDL_ShowWindow(window);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11)
        return "";
    return std::to_string(static_cast<unsigned long>(info.info.x11.window));
}
