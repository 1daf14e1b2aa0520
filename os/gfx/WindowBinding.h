/** @file WindowBinding.h From the window layer's handle to the SDL window a device renders into. */
#pragma once

#include "os/gfx/Types.h"

struct SDL_Window;

namespace os::gfx
{

/// The SDL window behind a game window handle; nullptr for none.
SDL_Window* ResolveWindow(WindowHandle window);

} // namespace os::gfx
