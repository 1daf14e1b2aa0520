/** @file MappedMouseController.h Named buttons from the system mouse: eight buttons, motion and the wheel. */
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "KorvaneXDK/platform/input/StandardController.h"
#include "os/input/DirectInput.h"
#include "os/input/InputDevice.h"

namespace korvane
{

/// Codes 0 to 7 are buttons; 0x1001 to 0x1006 are X, Y and wheel motion, minus then plus side,
/// held beyond 8 counts and valued in raw counts since the previous poll.
class CMappedMouseController : public CStandardController
{
public:
    static constexpr std::uint32_t kButtonCount = 8;
    /// X minus, X plus, Y minus, Y plus, wheel minus, wheel plus.
    static constexpr std::uint32_t kFirstMotionCode = 0x1001;
    static constexpr std::uint32_t kLastMotionCode = 0x1006;

    /// Sets the device up without acquiring it; a failing step throws EIOError after logging the result.
    CMappedMouseController(os::input::DirectInput& directInput, const os::input::Guid& guid,
                           os::window::WindowHandle window);
    ~CMappedMouseController() override;

    int GetDeviceType() override;
    /// Does nothing while the controller is inactive.
    void Update() override;
    /// Switches the device between exclusive and shared use; a failing step throws EIOError.
    void SetExclusive(bool exclusive) override;
    /// Resets the buttons and acquires or releases the device; failures are only logged.
    void SetActive(bool active) override;
    bool GetActiveInput(const std::string& name, int slot) override;
    std::string GetInputName(const std::string& name, int slot) override;

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override;

private:
    std::shared_ptr<os::input::InputDevice> device_;
    os::input::MouseState2 state_;
    os::window::WindowHandle window_;
};

} // namespace korvane
