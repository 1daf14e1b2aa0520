/** @file KeyTable.h SDL keys as the platform's virtual keys. */
#pragma once

#include <cstdint>

#include "os/window/Messages.h"

namespace os::window
{

/// A key's virtual key and whether its messages carry the extended-key bit.
struct KeyInfo
{
    WParam vk = 0;
    bool extended = false;
};

/// Letters and digits follow the layout (the SDL key code), other keys their place (the
/// scancode). A virtual key of 0: the key has none and sends no key messages.
KeyInfo KeyInfoOf(std::int32_t keycode, int scancode);

} // namespace os::window
