/** @file MappedJoystickController.cpp Joystick set-up, polling, input capture and input names. */
#include "KorvaneXDK/platform/input/MappedJoystickController.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/graphics/DirectXError.h"
#include "KorvaneXDK/platform/input/Reacquire.h"

namespace korvane
{

namespace
{

constexpr const char* kSourceFile = "MappedJoystickController";
constexpr std::int32_t kAxisThreshold = 3000;
constexpr const char* kAxisNames[12] = {"X AXIS -",  "X AXIS +",  "Y AXIS -",  "Y AXIS +",  "Z AXIS -",  "Z AXIS +",
                                        "RX AXIS -", "RX AXIS +", "RY AXIS -", "RY AXIS +", "RZ AXIS -", "RZ AXIS +"};
constexpr const char* kHatNames[4] = {"POV N", "POV E", "POV S", "POV W"};

std::int32_t AxisValue(const os::input::JoyState& state, std::uint32_t axis)
{
    const std::int32_t axes[6] = {state.x, state.y, state.z, state.rx, state.ry, state.rz};
    return axes[axis];
}

bool IsCentred(std::uint32_t pov)
{
    return (pov & 0xFFFF) == 0xFFFF;
}

} // namespace

CMappedJoystickController::CMappedJoystickController(os::input::DirectInput& directInput,
                                                     const os::input::Guid& instance, os::window::WindowHandle window)
{
    using namespace os::input;
    ThrowOnDirectXFailure<EIOError>(directInput.CreateDevice(instance, device_), this,
                                    "DirectInputデバイスの作成に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetCooperativeLevel(window, kCoopExclusive | kCoopForeground), this,
                                    "DirectInputデバイスの協調レベルの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetDataFormat(DataFormat::Joystick), this,
                                    "DirectInputデバイスのデータフォーマットの設定に失敗しました.", kSourceFile,
                                    __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetAxisMode(kPropertyHowDevice, 0, kAxisModeAbsolute), this,
                                    "DirectInputデバイスの軸モードの設定に失敗しました.", kSourceFile, __LINE__);
    const Result enumResult = device_->EnumObjects(
        [this](const ObjectInstance& object) {
            ThrowOnDirectXFailure<EIOError>(device_->SetRange(kPropertyHowById, object.type, -10000, 10000), this,
                                            "DirectInputデバイスの軸範囲の設定に失敗しました.", kSourceFile, __LINE__);
            return kEnumContinue;
        },
        kObjectAxis);
    ThrowOnDirectXFailure<EIOError>(enumResult, this, "DirectInputデバイスの軸列挙に失敗しました.", kSourceFile,
                                    __LINE__);
    device_->Acquire();
}

CMappedJoystickController::~CMappedJoystickController() = default;

int CMappedJoystickController::GetDeviceType()
{
    return kControllerJoystick;
}

void CMappedJoystickController::Update()
{
    using namespace os::input;
    CScopedLock lock(GetLock());
    if (!RunWithReacquire(
            *device_, [this] { return device_->Poll(); }, kSourceFile, __LINE__))
        return;
    device_->GetDeviceState(sizeof(state_), &state_);
    RefreshButtons();
}

void CMappedJoystickController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    if (code < kButtonCount) {
        if ((state_.buttons[code] & 0x80) != 0) {
            down = true;
            value = 1.0f;
        }
        return;
    }
    if (code >= kFirstAxisCode && code <= kLastAxisCode) {
        const std::int32_t axis = AxisValue(state_, (code - kFirstAxisCode) / 2);
        const bool minusSide = ((code - kFirstAxisCode) % 2) == 0;
        if (minusSide && axis < 0) {
            value = -static_cast<float>(axis) / 10000.0f;
            if (axis < -kAxisThreshold)
                down = true;
        } else if (!minusSide && axis > 0) {
            value = static_cast<float>(axis) / 10000.0f;
            if (axis > kAxisThreshold)
                down = true;
        }
        return;
    }
    if (code >= kHatNorthCode && code <= kHatWestCode) {
        const std::uint32_t pov = state_.pov[0];
        if (IsCentred(pov))
            return;
        bool held = false;
        switch (code) {
        case kHatNorthCode:
            held = pov <= 6000 || pov >= 30000;
            break;
        case kHatEastCode:
            held = pov >= 3000 && pov <= 15000;
            break;
        case kHatSouthCode:
            held = pov >= 12000 && pov <= 24000;
            break;
        default:
            held = pov >= 21000 && pov <= 33000;
            break;
        }
        if (held) {
            down = true;
            value = 1.0f;
        }
    }
}

bool CMappedJoystickController::GetActiveInput(const std::string& name, int slot)
{
    // Buttons first, then the axes, then the hat.
    return CaptureInput(name, slot,
                        {{0, kButtonCount - 1}, {kFirstAxisCode, kLastAxisCode}, {kHatNorthCode, kHatWestCode}});
}

std::string CMappedJoystickController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code <= 255)
        return FormatString("BUTTON:%d", static_cast<int>(code) + 1);
    if (code >= kFirstAxisCode && code <= kLastAxisCode)
        return kAxisNames[code - kFirstAxisCode];
    if (code >= kHatNorthCode && code <= kHatWestCode)
        return kHatNames[code - kHatNorthCode];
    if (code == kNoInput)
        return "NONE";
    return "UNKNOWN";
}

} // namespace korvane
