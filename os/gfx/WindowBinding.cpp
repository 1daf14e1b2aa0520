/** @file WindowBinding.cpp From the window layer's handle to the SDL window a device renders into. */
#include "os/gfx/WindowBinding.h"

#include "os/window/Window.h"

namespace os::gfx
{

SDL_Window* ResolveWindow(WindowHandle window)
{
    return window != nullptr ? window->GetSDLWindow() : nullptr;
}

} // namespace os::gfx
