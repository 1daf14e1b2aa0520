/** @file DefaultKeyMappings.cpp The default bindings of the keyboard, DirectInput pads and XInput pads. */
#include "frontend/preferences/DefaultKeyMappings.h"

#include "KorvaneXDK/platform/input/Controller.h"

const DefaultKeyMapping& GetDefaultKeyboardMapping()
{
    // Arrows with the number pad as second binding; Return and the pad's Enter decide; Escape is
    // both cancel and pause.
    static const DefaultKeyMapping mapping{korvane::kControllerKeyboard,
                                           ": DirectInput Keyboard Device",
                                           {{"up", 0, 0xC8},
                                            {"up", 1, 0x48},
                                            {"down", 0, 0xD0},
                                            {"down", 1, 0x50},
                                            {"left", 0, 0xCB},
                                            {"left", 1, 0x4B},
                                            {"right", 0, 0xCD},
                                            {"right", 1, 0x4D},
                                            {"x1", 0, 0x2C},
                                            {"x2", 0, 0x2A},
                                            {"x3", 0, 0x2E},
                                            {"x4", 0, 0x2D},
                                            {"decide", 0, 0x1C},
                                            {"decide", 1, 0x9C},
                                            {"cancel", 0, 0x01},
                                            {"pause", 0, 0x01}}};
    return mapping;
}

const DefaultKeyMapping& GetDefaultDirectInputJoystickMapping()
{
    // The Y and X axes, then the hat as second binding; buttons by index.
    static const DefaultKeyMapping mapping{korvane::kControllerJoystick,
                                           ": DirectInput Joystick Device",
                                           {{"up", 0, 0x1003},
                                            {"down", 0, 0x1004},
                                            {"left", 0, 0x1001},
                                            {"right", 0, 0x1002},
                                            {"up", 1, 0x2001},
                                            {"down", 1, 0x2003},
                                            {"left", 1, 0x2004},
                                            {"right", 1, 0x2002},
                                            {"x1", 0, 1},
                                            {"x2", 0, 0},
                                            {"x3", 0, 3},
                                            {"x4", 0, 2},
                                            {"decide", 0, 0},
                                            {"cancel", 0, 1},
                                            {"pause", 0, 8}}};
    return mapping;
}

const DefaultKeyMapping& GetDefaultXInputMapping()
{
    // The left stick, then the D-pad as second binding; A decides, B cancels, START pauses.
    static const DefaultKeyMapping mapping{korvane::kControllerXInput,
                                           ": XInput Device",
                                           {{"up", 0, 0x5003},
                                            {"down", 0, 0x5004},
                                            {"right", 0, 0x5001},
                                            {"left", 0, 0x5002},
                                            {"up", 1, 0x0A},
                                            {"down", 1, 0x0B},
                                            {"right", 1, 0x0D},
                                            {"left", 1, 0x0C},
                                            {"x1", 0, 0},
                                            {"x2", 0, 2},
                                            {"x3", 0, 3},
                                            {"x4", 0, 1},
                                            {"decide", 0, 0},
                                            {"cancel", 0, 1},
                                            {"pause", 0, 6}}};
    return mapping;
}
