/** @file PadInput.cpp Reads the pad slots from the layer's snapshots. */
#include "os/input/PadInput.h"

#include "os/input/InputHub.h"

namespace os::input
{

std::uint32_t GetPadState(std::uint32_t userIndex, PadState* state)
{
    if (userIndex >= kPadSlotCount || state == nullptr)
        return kErrorBadArguments;
    if (!detail::InputHub::ReadRunningPad(userIndex, *state))
        return kErrorDeviceNotConnected;
    return kErrorSuccess;
}

} // namespace os::input
