/** @file Reacquire.h The mapped controllers' shared rule for a device read that fails. */
#pragma once

#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "os/input/InputDevice.h"

namespace korvane
{

/// Runs a device step; when it fails the device is acquired again and, if that works, the step
/// runs once more. A refused acquisition (the window is in the background) returns false, so
/// the caller keeps its last state; any other failure is reported and the caller goes on.
template <typename Step>
bool RunWithReacquire(os::input::InputDevice& device, Step step, const char* sourceFile, int line)
{
    if (os::input::Succeeded(step()))
        return true;
    const os::input::Result result = device.Acquire();
    if (result == os::input::kResultAccessDenied)
        return false;
    if (!ReportOnDirectXFailure(result, sourceFile, line))
        step();
    return true;
}

} // namespace korvane
