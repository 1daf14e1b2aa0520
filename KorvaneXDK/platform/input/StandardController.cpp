/** @file StandardController.cpp Named buttons, the press latch and the common poll rule. */
#include "KorvaneXDK/platform/input/StandardController.h"

#include "KorvaneXDK/core/ScopedLock.h"

namespace korvane
{

CStandardController::CStandardController() = default;

CStandardController::~CStandardController() = default;

CStandardController::ButtonState& CStandardController::FindButton(const std::string& name)
{
    return buttons_[name];
}

bool CStandardController::IsDown(const std::string& name)
{
    CScopedLock lock(lock_);
    return FindButton(name).down;
}

bool CStandardController::WasPressed(const std::string& name)
{
    CScopedLock lock(lock_);
    ButtonState& button = FindButton(name);
    const bool pressed = button.pressed;
    button.pressed = false;
    return pressed;
}

float CStandardController::GetValue(const std::string& name)
{
    CScopedLock lock(lock_);
    return FindButton(name).value;
}

void CStandardController::ResetAll()
{
    CScopedLock lock(lock_);
    for (auto& entry : buttons_) {
        entry.second.down = true;
        entry.second.pressed = false;
    }
}

void CStandardController::SetExclusive(bool exclusive)
{
    CScopedLock lock(lock_);
    exclusive_ = exclusive;
}

bool CStandardController::IsExclusive()
{
    CScopedLock lock(lock_);
    return exclusive_;
}

void CStandardController::SetActive(bool active)
{
    CScopedLock lock(lock_);
    active_ = active;
}

bool CStandardController::IsActive()
{
    CScopedLock lock(lock_);
    return active_;
}

void CStandardController::AddButton(const std::string& name, const std::string& label)
{
    CScopedLock lock(lock_);
    ButtonState button;
    button.label = label;
    buttons_[name] = button;
}

std::string CStandardController::GetButtonLabel(const std::string& name)
{
    CScopedLock lock(lock_);
    return FindButton(name).label;
}

void CStandardController::SetMapping(const std::string& name, int slot, std::uint32_t code)
{
    CScopedLock lock(lock_);
    ButtonState& button = FindButton(name);
    if (IsValidSlot(slot))
        button.codes[slot] = code;
}

std::uint32_t CStandardController::GetMapping(const std::string& name, int slot)
{
    CScopedLock lock(lock_);
    ButtonState& button = FindButton(name);
    return IsValidSlot(slot) ? button.codes[slot] : kNoInput;
}

void CStandardController::EvaluateInput(std::uint32_t, bool&, float&) {}

bool CStandardController::CaptureInput(const std::string& name, int slot, std::initializer_list<CodeRange> ranges)
{
    CScopedLock lock(lock_);
    FindButton(name);
    if (!IsValidSlot(slot))
        return false;
    for (const CodeRange& range : ranges) {
        for (std::uint32_t code = range.first; code <= range.last; ++code) {
            bool down = false;
            float value = 0.0f;
            EvaluateInput(code, down, value);
            if (down) {
                SetMapping(name, slot, code);
                return true;
            }
        }
    }
    return false;
}

void CStandardController::RefreshButtons()
{
    CScopedLock lock(lock_);
    for (auto& entry : buttons_) {
        ButtonState& button = entry.second;
        const bool wasDown = button.down;
        button.value = 0.0f;
        button.down = false;
        for (std::uint32_t code : button.codes) {
            if (code != kNoInput)
                EvaluateInput(code, button.down, button.value);
        }
        if (button.down != wasDown)
            button.pressed = button.down;
    }
}

} // namespace korvane
