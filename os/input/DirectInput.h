/** @file DirectInput.h The input object: loading it, enumerating game controllers and creating devices. */
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "os/input/InputTypes.h"

namespace os::input
{

namespace detail
{
class InputHub;
}

class InputDevice;

/// The input object the engine creates once. Creating it starts the layer's event handling
/// (main thread); the devices it makes keep the layer alive after it is released.
class DirectInput
{
public:
    explicit DirectInput(std::shared_ptr<detail::InputHub> hub);
    ~DirectInput();
    DirectInput(const DirectInput&) = delete;
    DirectInput& operator=(const DirectInput&) = delete;

    /// Called once per device until it returns kEnumStop. May throw: the exception leaves
    /// EnumDevices unchanged. Only the game-controller class (or all) lists anything.
    using EnumDevicesCallback = std::function<bool(const DeviceInstance& instance)>;
    Result EnumDevices(std::uint32_t deviceClass, const EnumDevicesCallback& callback, std::uint32_t flags);

    /// The system keyboard, the system mouse or an enumerated joystick by its instance id.
    /// An unknown id gives kResultDeviceNotRegistered.
    Result CreateDevice(const Guid& guid, std::shared_ptr<InputDevice>& device);

private:
    std::shared_ptr<detail::InputHub> hub_;
};

/// The module that holds the create function, as the engine loads it by name.
struct InputModule;
/// Loads "dinput8.dll" (the only name it knows); null when it cannot be loaded.
InputModule* LoadInputModule(const std::string& name);
void FreeInputModule(InputModule* module);
/// Creates the input object: version must be kDirectInputVersion. Main thread only.
using DirectInputCreateFunction = Result (*)(os::window::InstanceHandle instance, std::uint32_t version,
                                             std::shared_ptr<DirectInput>& directInput);
/// "DirectInput8Create", or null when the module lacks it.
DirectInputCreateFunction FindInputFunction(InputModule* module, const std::string& name);

} // namespace os::input
