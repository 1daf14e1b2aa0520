/** @file MappedXInputController.h Named buttons from one slot of the four-slot pad interface. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/platform/input/StandardController.h"
#include "os/input/InputTypes.h"

namespace korvane
{

/// Codes 0 to 13 are the pad buttons; 0x5001 to 0x5008 the stick directions (dead zone 11468,
/// valued 0 to 1 on that side of the centre even inside the dead zone); 0x6001 and 0x6002 the
/// triggers (held above 30, valued 0 to 1 on every poll). A pad plugged in later is read by the
/// controller of the slot it takes.
class CMappedXInputController : public CStandardController
{
public:
    static constexpr std::uint32_t kButtonCount = 14;
    /// Left stick right, left, up, down, then the right stick's.
    static constexpr std::uint32_t kFirstStickCode = 0x5001;
    static constexpr std::uint32_t kLastStickCode = 0x5008;
    static constexpr std::uint32_t kLeftTriggerCode = 0x6001;
    static constexpr std::uint32_t kRightTriggerCode = 0x6002;

    explicit CMappedXInputController(std::uint32_t userIndex);
    ~CMappedXInputController() override;

    int GetDeviceType() override;
    /// Without a pad in the slot the buttons keep their state and the stored pad state is cleared.
    void Update() override;
    bool GetActiveInput(const std::string& name, int slot) override;
    std::string GetInputName(const std::string& name, int slot) override;

protected:
    void EvaluateInput(std::uint32_t code, bool& down, float& value) override;

private:
    std::uint32_t userIndex_;
    os::input::PadState state_;
};

} // namespace korvane
