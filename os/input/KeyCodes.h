/** @file KeyCodes.h Physical keys as the platform's keyboard key codes. */
#pragma once

#include <cstdint>

namespace os::input
{

/// The key code (0x01 to 0xED) of an SDL scancode; 0 for keys that have none.
std::uint8_t KeyCodeFromScancode(int scancode);
/// The first SDL scancode that reports as this key code; 0 (unknown) when none does.
int ScancodeFromKeyCode(std::uint32_t keyCode);

} // namespace os::input
