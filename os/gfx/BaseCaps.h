/** @file BaseCaps.h The capabilities every OpenGL 4.1 driver offers, shared by the object and its devices. */
#pragma once

#include <cstdint>

#include "os/gfx/Types.h"

namespace os::gfx::detail
{

/// The capability record of an adapter before any context exists: anisotropic filtering up to 16,
/// textures up to 8192, shader model 3.0 (or what the shader-version test hooks say).
Caps MakeBaseCaps(std::uint32_t adapter);

} // namespace os::gfx::detail
