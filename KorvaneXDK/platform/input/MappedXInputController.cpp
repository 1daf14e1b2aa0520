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

constexpr std::uint16_t kButtonBits[CMappedXInputController::kButtonCount] = {
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

constexpr const char* kButtonNames[CMappedXInputController::kButtonCount] = {
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
    if (os::input::GetPadState(userIndex_, &state_) != os::input::kErrorSuccess) {
        state_.gamepad = os::input::PadGamepad{};
        return;
    }
    RefreshButtons();
}

void CMappedXInputController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    const os::input::PadGamepad& pad = state_.gamepad;
    if (code < kButtonCount) {
        if ((pad.buttons & kButtonBits[code]) != 0) {
            down = true;
            value = 1.0f;
        }
        return;
    }
    if (code >= kFirstStickCode && code <= kLastStickCode) {
        const std::int32_t axis = StickAxis(pad, (code - kFirstStickCode) / 2);
        const bool plusSide = ((code - kFirstStickCode) % 2) == 0;
        if (plusSide && axis > 0) {
            value = static_cast<float>(axis) / 32767.0f;
            if (axis > kStickDeadZone)
                down = true;
        } else if (!plusSide && axis < 0) {
            value = static_cast<float>(-axis) / 32768.0f;
            if (axis < -kStickDeadZone)
                down = true;
        }
        return;
    }
    if (code == kLeftTriggerCode || code == kRightTriggerCode) {
        const std::uint8_t trigger = code == kLeftTriggerCode ? pad.leftTrigger : pad.rightTrigger;
        value = static_cast<float>(trigger) / 255.0f;
        if (trigger > kTriggerThreshold)
            down = true;
    }
}

bool CMappedXInputController::GetActiveInput(const std::string& name, int slot)
{
    // Buttons first, then the sticks, then the triggers.
    return CaptureInput(
        name, slot, {{0, kButtonCount - 1}, {kFirstStickCode, kLastStickCode}, {kLeftTriggerCode, kRightTriggerCode}});
}

std::string CMappedXInputController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code < kButtonCount)
        return kButtonNames[code];
    if (code >= kFirstStickCode && code <= kLastStickCode)
        return kStickNames[code - kFirstStickCode];
    if (code == kLeftTriggerCode)
        return "LT";
    if (code == kRightTriggerCode)
        return "RT";
    return "NONE";
}

} // namespace korvane
