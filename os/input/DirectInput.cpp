/** @file DirectInput.cpp The input object, its module stand-in and device enumeration. */
#include "os/input/DirectInput.h"

#include "os/input/InputDevice.h"
#include "os/input/InputHub.h"

namespace os::input
{

using os::testing::InputDeviceKind;
using os::testing::InputStep;

const Guid kGuidSysKeyboard = {0x4B56524Bu, 0x0001, 0x0000, {'K', 'E', 'Y', 'B', 'O', 'A', 'R', 'D'}};
const Guid kGuidSysMouse = {0x4B56524Bu, 0x0002, 0x0000, {'M', 'O', 'U', 'S', 'E', 0, 0, 0}};

namespace
{

constexpr std::uint8_t kJoystickTag[8] = {'J', 'O', 'Y', 'S', 'T', 'I', 'C', 'K'};

Guid JoystickInstanceGuid(const detail::JoystickInfo& info)
{
    Guid guid;
    guid.data1 = static_cast<std::uint32_t>(info.id);
    guid.data2 = info.vendor;
    guid.data3 = info.product;
    for (int i = 0; i < 8; ++i)
        guid.data4[i] = kJoystickTag[i];
    return guid;
}

bool IsJoystickInstanceGuid(const Guid& guid)
{
    for (int i = 0; i < 8; ++i) {
        if (guid.data4[i] != kJoystickTag[i])
            return false;
    }
    return true;
}

Guid ProductGuid(std::uint16_t vendor, std::uint16_t product)
{
    Guid guid;
    guid.data1 = (static_cast<std::uint32_t>(product) << 16) | vendor;
    const std::uint8_t tail[8] = {0, 0, 'P', 'I', 'D', 'V', 'I', 'D'};
    for (int i = 0; i < 8; ++i)
        guid.data4[i] = tail[i];
    return guid;
}

Result CreateDirectInput(os::window::InstanceHandle, std::uint32_t version, std::shared_ptr<DirectInput>& directInput)
{
    directInput.reset();
    Result result = kResultOk;
    if (detail::TakeStepFailure(InputStep::Create, InputDeviceKind::Any, result))
        return result;
    if (version != kDirectInputVersion)
        return kResultInvalidParam;
    auto hub = detail::InputHub::Start();
    if (!hub)
        return kResultFail;
    directInput = std::make_shared<DirectInput>(std::move(hub));
    return kResultOk;
}

} // namespace

struct InputModule
{};

InputModule* LoadInputModule(const std::string& name)
{
    Result ignored = kResultOk;
    if (name != "dinput8.dll" || detail::TakeStepFailure(InputStep::LoadModule, InputDeviceKind::Any, ignored))
        return nullptr;
    return new InputModule();
}

void FreeInputModule(InputModule* module)
{
    delete module;
}

DirectInputCreateFunction FindInputFunction(InputModule* module, const std::string& name)
{
    Result ignored = kResultOk;
    if (module == nullptr || name != "DirectInput8Create" ||
        detail::TakeStepFailure(InputStep::FindCreateFunction, InputDeviceKind::Any, ignored))
        return nullptr;
    return &CreateDirectInput;
}

DirectInput::DirectInput(std::shared_ptr<detail::InputHub> hub) : hub_(std::move(hub)) {}

DirectInput::~DirectInput() = default;

Result DirectInput::EnumDevices(std::uint32_t deviceClass, const EnumDevicesCallback& callback, std::uint32_t)
{
    Result result = kResultOk;
    if (detail::TakeStepFailure(InputStep::EnumDevices, InputDeviceKind::Any, result))
        return result;
    if (deviceClass != kDeviceClassGameController && deviceClass != kDeviceClassAll)
        return kResultOk;
    for (const auto& info : hub_->ListJoysticks()) {
        DeviceInstance instance;
        instance.instance = JoystickInstanceGuid(info);
        instance.product = ProductGuid(info.vendor, info.product);
        instance.instanceName = info.name.substr(0, 259);
        instance.productName = instance.instanceName;
        if (callback(instance) == kEnumStop)
            break;
    }
    return kResultOk;
}

Result DirectInput::CreateDevice(const Guid& guid, std::shared_ptr<InputDevice>& device)
{
    device.reset();
    InputDevice::Kind kind = InputDevice::Kind::Joystick;
    if (guid == kGuidSysKeyboard)
        kind = InputDevice::Kind::Keyboard;
    else if (guid == kGuidSysMouse)
        kind = InputDevice::Kind::Mouse;
    const InputDeviceKind hookKind = kind == InputDevice::Kind::Keyboard ? InputDeviceKind::Keyboard
                                     : kind == InputDevice::Kind::Mouse  ? InputDeviceKind::Mouse
                                                                         : InputDeviceKind::Joystick;
    Result result = kResultOk;
    if (detail::TakeStepFailure(InputStep::CreateDevice, hookKind, result))
        return result;
    if (kind != InputDevice::Kind::Joystick) {
        device = std::make_shared<InputDevice>(hub_, kind, -1, 0);
        return kResultOk;
    }
    if (!IsJoystickInstanceGuid(guid))
        return kResultDeviceNotRegistered;
    for (const auto& info : hub_->ListJoysticks()) {
        if (JoystickInstanceGuid(info) == guid) {
            device = std::make_shared<InputDevice>(hub_, kind, info.id, info.axisCount);
            return kResultOk;
        }
    }
    return kResultDeviceNotRegistered;
}

} // namespace os::input
