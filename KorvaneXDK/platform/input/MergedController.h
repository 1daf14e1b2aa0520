/** @file MergedController.h Several controllers read as one: the same action from keyboard, pad or mouse. */
#pragma once

#include <vector>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/platform/input/Controller.h"

namespace korvane
{

/// Does not own its members; whoever made them keeps them alive while this is used.
/// Buttons are defined and mapped on the members: the six mapping operations throw.
class CMergedController : public IController, public virtual CNonCopyable
{
public:
    CMergedController();
    ~CMergedController() override;

    int GetDeviceType() override;
    void Update() override;
    bool IsDown(const std::string& name) override;
    bool WasPressed(const std::string& name) override;
    float GetValue(const std::string& name) override;
    void ResetAll() override;
    void SetExclusive(bool exclusive) override;
    bool IsExclusive() override;
    void SetActive(bool active) override;
    bool IsActive() override;
    void AddButton(const std::string& name, const std::string& label) override;
    std::string GetButtonLabel(const std::string& name) override;
    bool GetActiveInput(const std::string& name, int slot) override;
    void SetMapping(const std::string& name, int slot, std::uint32_t code) override;
    std::uint32_t GetMapping(const std::string& name, int slot) override;
    std::string GetInputName(const std::string& name, int slot) override;

    virtual void AddController(IController* controller);

private:
    [[noreturn]] void ThrowUnsupported() const;

    CCriticalSection lock_;
    std::vector<IController*> controllers_;
};

} // namespace korvane
