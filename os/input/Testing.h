/** @file Testing.h Test hooks of the input layer: failing steps, focus and the device-id list. */
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "os/input/InputTypes.h"

namespace os::testing
{

/// The device kinds a failure hook can be limited to.
enum class InputDeviceKind
{
    Any,
    Keyboard,
    Mouse,
    Joystick,
};

/// The steps of the input layer that a test can make fail.
enum class InputStep
{
    LoadModule,         ///< the input module cannot be loaded (no result)
    FindCreateFunction, ///< the module lacks its create function (no result)
    Create,             ///< creating the input object
    EnumDevices,
    CreateDevice,
    SetCooperativeLevel,
    SetDataFormat,
    SetAxisMode,
    EnumObjects,
    SetRange,
    Acquire,
    Unacquire,
    Poll,
    GetDeviceState,
};

/// Makes the next `count` calls of a step (every call when count is negative) fail with
/// `result` on devices of the given kind. Device-less steps ignore the kind.
void FailInputStep(InputStep step, os::input::Result result, InputDeviceKind kind = InputDeviceKind::Any,
                   int count = -1);
/// Clears every failure, the focus override and the device-id provider.
void ResetInputHooks();

/// Forces every window to be in the foreground (true) or in the background (false); nullopt
/// follows the window's focus events again. Going to the background takes every foreground
/// device's acquisition away, as losing the focus does.
void SetInputFocusOverride(std::optional<bool> focused);

/// Replaces the system's device-id list; a provider returning false stands for a failing query.
/// An empty function restores the list made from the attached joysticks.
using PnpDeviceIdProvider = std::function<bool(std::vector<std::wstring>& ids)>;
void SetPnpDeviceIdProvider(PnpDeviceIdProvider provider);

} // namespace os::testing
