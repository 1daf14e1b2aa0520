/** @file InputTypes.h Result codes, identifiers, flags and state records of the input layer. */
#pragma once

#include <cstdint>
#include <string>

#include "os/window/Window.h"

namespace os::input
{

/// Results keep the platform's values: the engine logs them and compares them.
using Result = std::int32_t;

constexpr Result kResultOk = 0;                                                 // DI_OK
constexpr Result kResultNoEffect = 1;                                           // DI_NOEFFECT, S_FALSE
constexpr Result kResultFail = static_cast<Result>(0x80004005u);                // E_FAIL
constexpr Result kResultOutOfMemory = static_cast<Result>(0x8007000Eu);         // E_OUTOFMEMORY
constexpr Result kResultAccessDenied = static_cast<Result>(0x80070005u);        // E_ACCESSDENIED, DIERR_OTHERAPPHASPRIO
constexpr Result kResultNotAcquired = static_cast<Result>(0x8007000Cu);         // DIERR_NOTACQUIRED
constexpr Result kResultInputLost = static_cast<Result>(0x8007001Eu);           // DIERR_INPUTLOST
constexpr Result kResultInvalidParam = static_cast<Result>(0x80070057u);        // DIERR_INVALIDPARAM
constexpr Result kResultDeviceNotRegistered = static_cast<Result>(0x80040154u); // DIERR_DEVICENOTREG
constexpr Result kResultUnplugged = static_cast<Result>(0x80040209u);           // DIERR_UNPLUGGED
constexpr Result kResultUnsupported = static_cast<Result>(0x80004001u);         // E_NOTIMPL

inline bool Succeeded(Result result)
{
    return result >= 0;
}
inline bool Failed(Result result)
{
    return result < 0;
}

/// Results of the pad interface (system error numbers, not result codes).
constexpr std::uint32_t kErrorSuccess = 0;
constexpr std::uint32_t kErrorBadArguments = 160;
constexpr std::uint32_t kErrorDeviceNotConnected = 1167;

/// The interface version the engine asks for.
constexpr std::uint32_t kDirectInputVersion = 0x0800;

/// A 128-bit identifier with the platform's field layout.
struct Guid
{
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::uint8_t data4[8] = {};

    friend bool operator==(const Guid&, const Guid&) = default;
};

/// The system keyboard and the system mouse.
extern const Guid kGuidSysKeyboard;
extern const Guid kGuidSysMouse;

/// Device classes and enumeration flags.
constexpr std::uint32_t kDeviceClassAll = 0;
constexpr std::uint32_t kDeviceClassGameController = 4; // DI8DEVCLASS_GAMECTRL
constexpr std::uint32_t kEnumAttachedOnly = 1;          // DIEDFL_ATTACHEDONLY
constexpr bool kEnumContinue = true;                    // DIENUM_CONTINUE
constexpr bool kEnumStop = false;                       // DIENUM_STOP

/// One device found by enumeration.
struct DeviceInstance
{
    Guid instance;
    /// Data1 holds the product id in its high and the vendor id in its low 16 bits.
    Guid product;
    std::string instanceName;
    std::string productName;
};

/// Cooperative-level flags.
constexpr std::uint32_t kCoopExclusive = 0x01;    // DISCL_EXCLUSIVE
constexpr std::uint32_t kCoopNonExclusive = 0x02; // DISCL_NONEXCLUSIVE
constexpr std::uint32_t kCoopForeground = 0x04;   // DISCL_FOREGROUND
constexpr std::uint32_t kCoopBackground = 0x08;   // DISCL_BACKGROUND
constexpr std::uint32_t kCoopNoWinKey = 0x10;     // DISCL_NOWINKEY

/// The three predefined data formats.
enum class DataFormat
{
    Keyboard, ///< 256 key bytes
    Mouse2,   ///< MouseState2, 20 bytes
    Joystick, ///< JoyState, 80 bytes
};

/// Object types for EnumObjects and the object identifiers of axes.
constexpr std::uint32_t kObjectRelativeAxis = 0x01; // DIDFT_RELAXIS
constexpr std::uint32_t kObjectAbsoluteAxis = 0x02; // DIDFT_ABSAXIS
constexpr std::uint32_t kObjectAxis = 0x03;         // DIDFT_AXIS
constexpr std::uint32_t MakeObjectInstance(std::uint32_t n)
{
    return (n & 0xFFFF) << 8;
}
constexpr std::uint32_t GetObjectInstance(std::uint32_t type)
{
    return (type >> 8) & 0xFFFF;
}

/// One object (here: one axis) of a device.
struct ObjectInstance
{
    std::uint32_t type = 0; ///< kObjectAbsoluteAxis | MakeObjectInstance(index)
    std::string name;
};

/// How a property names its target.
constexpr std::uint32_t kPropertyHowDevice = 0; // DIPH_DEVICE
constexpr std::uint32_t kPropertyHowById = 2;   // DIPH_BYID

constexpr std::uint32_t kAxisModeAbsolute = 0; // DIPROPAXISMODE_ABS
constexpr std::uint32_t kAxisModeRelative = 1; // DIPROPAXISMODE_REL

/// Keyboard state: one byte per key code, bit 7 set while the key is down.
constexpr std::uint32_t kKeyboardStateSize = 256;

/// The extended mouse record; motion counts since the previous read.
struct MouseState2
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::uint8_t buttons[8] = {};
};
static_assert(sizeof(MouseState2) == 20);

/// The standard joystick record.
struct JoyState
{
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::int32_t rx = 0;
    std::int32_t ry = 0;
    std::int32_t rz = 0;
    std::int32_t sliders[2] = {};
    /// Hundredths of a degree clockwise from north; low 16 bits 0xFFFF when centred.
    std::uint32_t pov[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    std::uint8_t buttons[32] = {};
};
static_assert(sizeof(JoyState) == 80);

/// The pad interface's state record.
struct PadGamepad
{
    std::uint16_t buttons = 0;
    std::uint8_t leftTrigger = 0;
    std::uint8_t rightTrigger = 0;
    std::int16_t thumbLX = 0;
    std::int16_t thumbLY = 0;
    std::int16_t thumbRX = 0;
    std::int16_t thumbRY = 0;
};

struct PadState
{
    std::uint32_t packetNumber = 0;
    PadGamepad gamepad;
};

/// Pad button bits.
constexpr std::uint16_t kPadDpadUp = 0x0001;
constexpr std::uint16_t kPadDpadDown = 0x0002;
constexpr std::uint16_t kPadDpadLeft = 0x0004;
constexpr std::uint16_t kPadDpadRight = 0x0008;
constexpr std::uint16_t kPadStart = 0x0010;
constexpr std::uint16_t kPadBack = 0x0020;
constexpr std::uint16_t kPadLeftThumb = 0x0040;
constexpr std::uint16_t kPadRightThumb = 0x0080;
constexpr std::uint16_t kPadLeftShoulder = 0x0100;
constexpr std::uint16_t kPadRightShoulder = 0x0200;
constexpr std::uint16_t kPadA = 0x1000;
constexpr std::uint16_t kPadB = 0x2000;
constexpr std::uint16_t kPadX = 0x4000;
constexpr std::uint16_t kPadY = 0x8000;

/// Number of user slots of the pad interface.
constexpr std::uint32_t kPadSlotCount = 4;

} // namespace os::input
