/** @file DefaultKeyMappings.h The default bindings of the keyboard, DirectInput pads and XInput pads. */
#pragma once

#include <cstdint>
#include <vector>

/// One SetMapping call of a default: the action, the binding slot and the input code.
struct DefaultBinding
{
    const char* action;
    int binding;
    std::uint32_t code;
};

/// The defaults of one controller type, in the order they are set, and the device text of the
/// "#<index>: ..." log line.
struct DefaultKeyMapping
{
    int controllerType;
    const char* deviceText;
    std::vector<DefaultBinding> bindings;
};

const DefaultKeyMapping& GetDefaultKeyboardMapping();
const DefaultKeyMapping& GetDefaultDirectInputJoystickMapping();
const DefaultKeyMapping& GetDefaultXInputMapping();
