/** @file MappedKeyboardController.h Named buttons from the system keyboard, by physical key. */
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "KorvaneXDK/platform/input/StandardController.h"
#include "os/input/DirectInput.h"
#include "os/input/InputDevice.h"

namespace korvane
{

/// Input codes are key codes 0x00 to 0xFF; a held key gives the value 1.0.
class CMappedKeyboardController : public CStandardController
{
public:
    /// Sets the device up; a failing step throws EIOError after logging the result.
    CMappedKeyboardController(os::input::DirectInput& directInput, const os::input::Guid& guid,
                              os::window::WindowHandle window, bool disableWindowsKey);
    ~CMappedKeyboardController() override;

    int GetDeviceType() override;
    void Update() override;
    bool GetActiveInput(const std::string& name, int slot) override;
    std::string GetInputName(const std::string& name, int slot) override;

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override;

private:
    void BuildKeyNames();

    std::shared_ptr<os::input::InputDevice> device_;
    std::uint8_t keys_[os::input::kKeyboardStateSize] = {};
    std::map<std::uint32_t, std::string> keyNames_;
};

} // namespace korvane
