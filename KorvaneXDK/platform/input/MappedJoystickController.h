/** @file MappedJoystickController.h Named buttons from one game controller read as a joystick. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "KorvaneXDK/platform/input/StandardController.h"
#include "os/input/DirectInput.h"
#include "os/input/InputDevice.h"

namespace korvane
{

/// Codes 0 to 31 are buttons; 0x1001 to 0x100C the six axes, minus then plus side, held beyond
/// 3000 of the -10000..10000 range and valued 0 to 1; 0x2001 to 0x2004 the first hat's north,
/// east, south and west.
class CMappedJoystickController : public CStandardController
{
public:
    static constexpr std::uint32_t kButtonCount = 32;
    /// X minus, X plus, Y minus, ... RZ plus: the axes in JoyState order, minus side first.
    static constexpr std::uint32_t kFirstAxisCode = 0x1001;
    static constexpr std::uint32_t kLastAxisCode = 0x100C;
    static constexpr std::uint32_t kHatNorthCode = 0x2001;
    static constexpr std::uint32_t kHatEastCode = 0x2002;
    static constexpr std::uint32_t kHatSouthCode = 0x2003;
    static constexpr std::uint32_t kHatWestCode = 0x2004;

    /// Sets the device up (absolute axes, each ranged -10000 to 10000); a failing step throws
    /// EIOError after logging the result.
    CMappedJoystickController(os::input::DirectInput& directInput, const os::input::Guid& instance,
                              os::window::WindowHandle window);
    ~CMappedJoystickController() override;

    int GetDeviceType() override;
    void Update() override;
    bool GetActiveInput(const std::string& name, int slot) override;
    std::string GetInputName(const std::string& name, int slot) override;

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override;

private:
    std::shared_ptr<os::input::InputDevice> device_;
    os::input::JoyState state_;
};

} // namespace korvane
