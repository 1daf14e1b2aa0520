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

constexpr const char* kSourceFile = "MappedJoystickController.cpp";
constexpr std::int32_t kAxisThreshold = 3000;
constexpr const char* kAxisNames[12] = {"X AXIS -",  "X AXIS +",  "Y AXIS -",  "Y AXIS +",
                                        "Z AXIS -",  "Z AXIS +",  "RX AXIS -", "RX AXIS +",
                                        "RY AXIS -", "RY AXIS +", "RZ AXIS -", "RZ AXIS +"};
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
                                                     const os::input::Guid& instance,
                                                     os::window::WindowHandle window)
{
    using namespace os::input;
    ThrowOnDirectXFailure<EIOError>(directInput.CreateDevice(instance, device_), this,
                                    "DirectInputデバイスの作成に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetCooperativeLevel(window, kCoopExclusive | kCoopForeground), this,
                                    "DirectInputデバイスの協調レベルの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetDataFormat(DataFormat::Joystick), this,
                                    "DirectInputデバイスのデータフォーマットの設定に失敗しました.", kSourceFile, __LINE__);
    ThrowOnDirectXFailure<EIOError>(device_->SetAxisMode(kPropertyHowDevice, 0, kAxisModeAbsolute), this,
                                    "DirectInputデバイスの軸モードの設定に失敗しました.", kSourceFile, __LINE__);
    const Result enumResult = device_->EnumObjects(
        [this](const ObjectInstance& object)
        {
            ThrowOnDirectXFailure<EIOError>(device_->SetRange(kPropertyHowById, object.type, -10000, 10000), this,
                                            "DirectInputデバイスの軸範囲の設定に失敗しました.", kSourceFile,
                                            __LINE__);
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
    if (!RunWithReacquire(*device_, [this] { return device_->Poll(); }, kSourceFile, __LINE__))
        return;
    device_->GetDeviceState(sizeof(state_), &state_);
    RefreshButtons();
}

void CMappedJoystickController::EvaluateInput(std::uint32_t code, bool& down, float& value)
{
    if (code < 32)
    {
        if ((state_.buttons[code] & 0x80) != 0)
        {
            down = true;
            value = 1.0f;
        }
        return;
    }
    if (code >= 0x1001 && code <= 0x100C)
    {
        const std::int32_t axis = AxisValue(state_, (code - 0x1001) / 2);
        const bool minusSide = ((code - 0x1001) % 2) == 0;
        if (minusSide && axis < 0)
        {
            value = -static_cast<float>(axis) / 10000.0f;
            if (axis < -kAxisThreshold)
                down = true;
        }
        else if (!minusSide && axis > 0)
        {
            value = static_cast<float>(axis) / 10000.0f;
            if (axis > kAxisThreshold)
                down = true;
        }
        return;
    }
    if (code >= 0x2001 && code <= 0x2004)
    {
        const std::uint32_t pov = state_.pov[0];
        if (IsCentred(pov))
            return;
        bool held = false;
        switch (code)
        {
        case 0x2001:
            held = pov <= 6000 || pov >= 30000;
            break;
        case 0x2002:
            held = pov >= 3000 && pov <= 15000;
            break;
        case 0x2003:
            held = pov >= 12000 && pov <= 24000;
            break;
        default:
            held = pov >= 21000 && pov <= 33000;
            break;
        }
        if (held)
        {
            down = true;
            value = 1.0f;
        }
    }
}

bool CMappedJoystickController::GetActiveInput(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    // Like every operation taking a name, capture brings an unknown button into being.
    FindButton(name);
    if (!IsValidSlot(slot))
        return false;
    for (std::uint32_t button = 0; button < 32; ++button)
    {
        if ((state_.buttons[button] & 0x80) != 0)
        {
            SetMapping(name, slot, button);
            return true;
        }
    }
    for (std::uint32_t axis = 0; axis < 6; ++axis)
    {
        const std::int32_t value = AxisValue(state_, axis);
        if (value < -kAxisThreshold)
        {
            SetMapping(name, slot, 0x1001 + axis * 2);
            return true;
        }
        if (value > kAxisThreshold)
        {
            SetMapping(name, slot, 0x1002 + axis * 2);
            return true;
        }
    }
    const std::uint32_t pov = state_.pov[0];
    if (!IsCentred(pov))
    {
        std::uint32_t code = kNoInput;
        if (pov < 6001 || pov > 29999)
            code = 0x2001;
        else if (pov <= 15000)
            code = 0x2002;
        else if (pov <= 24000)
            code = 0x2003;
        else if (pov <= 33000)
            code = 0x2004;
        if (code != kNoInput)
        {
            SetMapping(name, slot, code);
            return true;
        }
    }
    return false;
}

std::string CMappedJoystickController::GetInputName(const std::string& name, int slot)
{
    CScopedLock lock(GetLock());
    const std::uint32_t code = GetMapping(name, slot);
    if (code <= 255)
        return FormatString("BUTTON:%d", static_cast<int>(code) + 1);
    if (code >= 0x1001 && code <= 0x100C)
        return kAxisNames[code - 0x1001];
    if (code >= 0x2001 && code <= 0x2004)
        return kHatNames[code - 0x2001];
    if (code == kNoInput)
        return "NONE";
    return "UNKNOWN";
}

} // namespace korvane
