/** @file PadInput.h The four-slot pad interface over SDL game controllers. */
#pragma once

#include <cstdint>

#include "os/input/InputTypes.h"

namespace os::input
{

/// The state of the pad in slot `userIndex` (0 to 3): kErrorSuccess with the state, kErrorDeviceNotConnected
/// when no pad holds the slot (or the input layer is not running), kErrorBadArguments for an index past 3.
/// Pads take the lowest free slot when they appear and give it up when they are removed.
/// The packet number changes whenever the pad's state does. Any thread.
std::uint32_t GetPadState(std::uint32_t userIndex, PadState* state);

} // namespace os::input
