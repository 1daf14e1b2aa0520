/** @file DXInput.h The input object of the game window and the controllers the rest of the program reads. */
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/platform/input/Controller.h"
#include "os/input/DirectInput.h"

namespace korvane
{

/// Owns the input object and the controllers, in creation order: the keyboard (0), the mouse (1),
/// one joystick controller per attached game controller that is not a pad of the four-slot
/// interface, then the four pad slots 0 to 3. Created, initialised and finalised on the main thread.
class CDXInput : public virtual CNonCopyable
{
public:
    CDXInput(os::window::InstanceHandle instance, os::window::WindowHandle window);
    ~CDXInput() override;

    /// Loads the input object and creates every controller; false when the input object cannot be
    /// had or the game controllers cannot be listed. A controller's set-up failure throws EIOError.
    virtual bool Initialize(bool disableWindowsKey);
    /// Releases every controller, the input object and the module; safe to repeat.
    virtual void Finalize();
    virtual os::input::DirectInput* GetDirectInput();
    virtual int GetControllerCount();
    /// Throws std::out_of_range "invalid vector<T> subscript" for an index outside the list.
    virtual boost::shared_ptr<IController> GetController(int index);

private:
    bool LoadDirectInput();
    bool EnumJoystickCallback(const os::input::DeviceInstance& instance);

    os::window::InstanceHandle instance_;
    os::window::WindowHandle window_;
    os::input::InputModule* module_ = nullptr;
    std::shared_ptr<os::input::DirectInput> directInput_;
    std::vector<boost::shared_ptr<IController>> controllers_;
};

/// True when the product id (vendor in the low, product in the high 16 bits of data1) belongs
/// to a pad of the four-slot interface, as the system's device-id list tells.
bool IsXInputDevice(const os::input::Guid& productId);

} // namespace korvane
