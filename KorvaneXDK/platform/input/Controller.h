/** @file Controller.h The interface of every controller: named buttons read from one or more devices. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Device kinds as GetDeviceType reports them.
constexpr int kControllerKeyboard = 0;
constexpr int kControllerJoystick = 1;
constexpr int kControllerMouse = 2;
constexpr int kControllerXInput = 3;
constexpr int kControllerMerged = 4;

/// The code of an empty mapping slot, on every device.
constexpr std::uint32_t kNoInput = 0xFFFFFFFFu;
/// Mapping slots per button.
constexpr int kMappingSlotCount = 5;

class IController : public IInterface
{
public:
    virtual int GetDeviceType() = 0;
    /// Polls the device and refreshes every button.
    virtual void Update() = 0;
    virtual bool IsDown(const std::string& name) = 0;
    /// The press latch; reading it clears it.
    virtual bool WasPressed(const std::string& name) = 0;
    virtual float GetValue(const std::string& name) = 0;
    /// Marks every button as held and unlatched, so that an input held now needs a new press.
    virtual void ResetAll() = 0;
    virtual void SetExclusive(bool exclusive) = 0;
    virtual bool IsExclusive() = 0;
    virtual void SetActive(bool active) = 0;
    virtual bool IsActive() = 0;
    /// (Re)defines a button with no mappings.
    virtual void AddButton(const std::string& name, const std::string& label) = 0;
    virtual std::string GetButtonLabel(const std::string& name) = 0;
    /// Stores the input held now, if any, in the button's slot.
    virtual bool GetActiveInput(const std::string& name, int slot) = 0;
    virtual void SetMapping(const std::string& name, int slot, std::uint32_t code) = 0;
    virtual std::uint32_t GetMapping(const std::string& name, int slot) = 0;
    virtual std::string GetInputName(const std::string& name, int slot) = 0;
};

} // namespace korvane
