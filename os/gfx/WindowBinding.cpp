/** @file WindowBinding.cpp The SDL window behind a device: found from its handle, set to the mode asked for. */
#include "os/gfx/WindowBinding.h"

#include <mutex>

#include <SDL.h>

#include "os/gfx/HookState.h"
#include "os/gfx/ResultCodes.h"
#include "os/system/System.h"
#include "os/window/Window.h"

namespace os::gfx
{

SDL_Window* ResolveWindow(WindowHandle window)
{
    return window != nullptr ? window->GetSDLWindow() : nullptr;
}

Result ApplyWindowMode(SDL_Window* window, const PresentParameters& parameters)
{
    // A failed change is reported as SDL gives it; the test hook stands in for SDL refusing.
    const auto changed = [](const char* call, const auto& change) {
        bool refused = false;
        {
            std::lock_guard<std::mutex> lock(detail::Hooks().mutex);
            if (detail::Hooks().failWindowModes > 0) {
                --detail::Hooks().failWindowModes;
                refused = true;
            }
        }
        if (refused) {
            SDL_SetError("the display refused the change");
        }
        if (refused || change() != 0) {
            os::system::SetLastErrorFromSdl(call);
            return false;
        }
        return true;
    };
    const Uint32 flags = SDL_GetWindowFlags(window);
    if (parameters.Windowed) {
        // Only leave a full screen this layer entered: the window layer's own borderless
        // full-screen look is not an SDL full-screen state.
        if ((flags & SDL_WINDOW_FULLSCREEN) != 0 &&
            !changed("SDL_SetWindowFullscreen", [window] { return SDL_SetWindowFullscreen(window, 0); })) {
            return kErrNotAvailable;
        }
    } else {
        SDL_DisplayMode mode{};
        mode.format = SDL_PIXELFORMAT_RGB888;
        mode.w = static_cast<int>(parameters.BackBufferWidth);
        mode.h = static_cast<int>(parameters.BackBufferHeight);
        mode.refresh_rate = static_cast<int>(parameters.FullScreenRefreshRateInHz);
        if (!changed("SDL_SetWindowDisplayMode", [window, &mode] { return SDL_SetWindowDisplayMode(window, &mode); })) {
            return kErrNotAvailable;
        }
        if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) != SDL_WINDOW_FULLSCREEN &&
            !changed("SDL_SetWindowFullscreen",
                     [window] { return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN); })) {
            return kErrNotAvailable;
        }
    }
    SDL_GL_SetSwapInterval(parameters.PresentationInterval == present::IntervalImmediate ? 0 : 1);
    return kOk;
}

} // namespace os::gfx
