/** @file StandardController.h The button table and the rules every device controller shares. */
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Object.h"
#include "KorvaneXDK/platform/input/Controller.h"

namespace korvane
{

/// Holds the named buttons. Device controllers read their device in Update and hand the
/// codes of every mapping slot to EvaluateInput through RefreshButtons.
///
/// The main thread and the game thread poll and read the same controllers, and reading an
/// unknown name adds a button: every operation runs under the controller's own recursive lock.
class CStandardController : public IController, public virtual CNonCopyable
{
public:
    struct ButtonState
    {
        std::string label;
        std::uint32_t codes[kMappingSlotCount] = {kNoInput, kNoInput, kNoInput, kNoInput, kNoInput};
        bool down = false;
        bool pressed = false;
        float value = 0.0f;
    };

    CStandardController();
    ~CStandardController() override;

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
    /// A slot outside 0 to 4 stores nothing.
    void SetMapping(const std::string& name, int slot, std::uint32_t code) override;
    /// A slot outside 0 to 4 reads as unmapped.
    std::uint32_t GetMapping(const std::string& name, int slot) override;

    static bool IsValidSlot(int slot) { return slot >= 0 && slot < kMappingSlotCount; }

protected:
    /// Applies the common poll rule to every button; call it under GetLock().
    void RefreshButtons();
    /// Input codes from `first` to `last`, both included.
    struct CodeRange
    {
        std::uint32_t first;
        std::uint32_t last;
    };
    /// Input capture, shared by the device controllers: maps into the slot the first code of
    /// the ranges, in order, that the state read last holds down (as EvaluateInput tells) and
    /// says whether one was. Like every operation taking a name, it brings an unknown button
    /// into being.
    bool CaptureInput(const std::string& name, int slot, std::initializer_list<CodeRange> ranges);
    /// Whether `code` is held in the state read last, and the value it writes, if any.
    /// Codes the device does not know leave both alone.
    virtual void EvaluateInput(std::uint32_t code, bool& down, float& value);

    /// The button of that name, added on first use.
    ButtonState& FindButton(const std::string& name);
    CCriticalSection& GetLock() { return lock_; }

private:
    CCriticalSection lock_;
    std::map<std::string, ButtonState> buttons_;
    bool exclusive_ = false;
    bool active_ = true;
};

} // namespace korvane
