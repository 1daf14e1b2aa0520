/** @file MappedXInputController.cpp Pad polling, input capture and input names. */
#include "KorvaneXDK/platform/input/MappedXInputController.h"

#include "KorvaneXDK/core/ScopedLock.h"
#include "os/input/PadInput.h"

namespace korvane
{

namespace
{

constexpr std::int32_t kStickDeadZone = 11468;
constexpr std::uint8_t kTriggerThreshold = 30;

constexpr std::uint16_t kButtonBits[14] = {
    os::input::kPadA,
    os::input::kPadB,
    os::input::kPadX,
    os::input::kPadY,
    os::input::kPadLeftShoulder,
    os::input::kPadRightShoulder,
    os::input::kPadStart,
    os::input::kPadBack,
    os::input::kPadLeftThumb,
    os::input::kPadRightThumb,
    os::input::kPadDpadUp,
    os::input::kPadDpadDown,
    os::input::kPadDpadLeft,
    os::input::kPadDpadRight,
};

constexpr const char* kButtonNames[14] = {
    "A",
    "B",
    "X",
    "Y",
    "LB",
    "RB",
    "START",
    "BACK",
    "Left Stick Button",
    "Right Stick Button",
    "D-pad Up",
    "D-pad Down",
    "D-pad Left",
    "D-pad Right",
};

constexpr const char* kStickNames[8] = {
    "Left Stick: Right",  "Left Stick: Left",  "Left Stick: Up",  "Left Stick: Down",
    "Right Stick: Right", "Right Stick: Left", "Right Stick: Up", "Right Stick: Down",
};

std::int16_t StickAxis(const os::input::PadGamepad& pad, std::uint32_t axis)
{
    const std::int16_t axes[4] = {pad.thumbLX, pad.thumbLY, pad.thumbRX, pad.thumbRY};
    return axes[axis];
}

} // namespace

CMappedXInputController::CMappedXInputController(std::uint32_t userIndex) : userIndex_(userIndex) {}

CMappedXInputController::~CMappedXInputController() = default;

int CMappedXInputController::GetDeviceType()
{
    return kControllerXInput;
}

void CMappedXInputController::Update()
{
    CScopedLock lock(GetLock());
    if (os::input::GetPadState(userIndex_, &state_) != os::input::kErrorSuccess)
    {
        state_.gamepad = os::input::PadGamepad{};
        return;
    }
    RefreshButtons();
}

void CMappedXInputController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    const os::input::PadGamepad& pad = state_.gamepad;
    if (code < 14)
    {
        if ((pad.buttons & kButtonBits[code]) != 0)
        {
            down = true;
            value = 1.0f;
        }
        return;
    }
    if (code >= 0x5001 && code <= 0x5008)
    {
        const std::int32_t axis = StickAxis(pad, (code - 0x5001) / 2);
        const bool plusSide = ((code - 0x5001) % 2) == 0;
        if (plusSide && axis > 0)
        {
            value = static_cast<float>(axis) / 32767.0f;
            if (axis > kStickDeadZone)
                down = true;
        }
        else if (!plusSide && axis < 0)
        {
            value = static_cast<float>(-axis) / 32768.0f;
            if (axis < -kStickDeadZone)
                down = true;
        }
        return;
    }
    if (code == 0x6001 || code == 0x6002)
    {
        const std::uint8_t trigger = code == 0x6001 ? pad.leftTrigger : pad.rightTrigger;
        value = static_cast<float>(trigger) / 255.0f;
        if (trigger > kTriggerThreshold)
            down = true;
    }
}

bool CMappedXInputController::GetActiveInput(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    // Like every operation taking a name, capture brings an unknown button into being.
    FindButton(name);
    if (!IsValidSlot(slot))
        return false;
    const os::input::PadGamepad& pad = state_.gamepad;
    for (std::uint32_t code = 0; code < 14; ++code)
    {
        if ((pad.buttons & kButtonBits[code]) != 0)
        {
            SetMapping(name, slot, code);
            return true;
        }
    }
    for (std::uint32_t axis = 0; axis < 4; ++axis)
    {
        const std::int32_t value = StickAxis(pad, axis);
        if (value < -kStickDeadZone)
        {
            SetMapping(name, slot, 0x5002 + axis * 2);
            return true;
        }
        if (value > kStickDeadZone)
        {
            SetMapping(name, slot, 0x5001 + axis * 2);
            return true;
        }
    }
    if (pad.leftTrigger > kTriggerThreshold)
    {
        SetMapping(name, slot, 0x6001);
        return true;
    }
    if (pad.rightTrigger > kTriggerThreshold)
    {
        SetMapping(name, slot, 0x6002);
        return true;
    }
    return false;
}

std::string CMappedXInputController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code < 14)
        return kButtonNames[code];
    if (code >= 0x5001 && code <= 0x5008)
        return kStickNames[code - 0x5001];
    if (code == 0x6001)
        return "LT";
    if (code == 0x6002)
        return "RT";
    return "NONE";
}

} // namespace korvane
