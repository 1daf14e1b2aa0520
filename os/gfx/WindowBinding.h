/** @file WindowBinding.h The SDL window behind a device: found from its handle, set to the mode asked for. */
#pragma once

#include "os/gfx/Types.h"

struct SDL_Window;

namespace os::gfx
{

/// The SDL window behind a game window handle; nullptr for none.
SDL_Window* ResolveWindow(WindowHandle window);
/// Puts the window into the mode the parameters ask for (full screen at their size and rate, or
/// back into a window) and sets the swap interval. Fails with the not-available code when SDL
/// refuses a change (the last error says why); os::testing::FailNextWindowModeChange makes it refuse.
Result ApplyWindowMode(SDL_Window* window, const PresentParameters& parameters);

} // namespace os::gfx
