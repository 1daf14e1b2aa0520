/** @file ControllerSettingsForm.h The controller settings menu: which kind of device to remap. */
#pragma once

#include <cstdint>
#include <string>

#include "frontend/forms/ControllerSettingsFormDesign.h"
#include "frontend/forms/FocusPreservedForm.h"

/// Each entry closes the menu and opens the key mapping screen of its device kind; the pad
/// entries are enabled only when the input object holds such a device as the menu opens. Exit
/// returns to the options menu, which keeps its remembered button.
class CControllerSettingsForm : public TFocusPreservedForm<CControllerSettingsFormDesign>
{
public:
    CControllerSettingsForm();
    ~CControllerSettingsForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnKeyboardMapping(korvane::mwt::CControl* sender);
    virtual void OnDirectInputMapping(korvane::mwt::CControl* sender);
    virtual void OnXInputMapping(korvane::mwt::CControl* sender);
    virtual void OnExit(korvane::mwt::CControl* sender);

    /// Whether the input object holds a controller of the type now.
    static bool HasControllerOfType(std::int32_t type);

private:
    void OpenKeyMapping(const std::string& title, std::uint32_t type, bool systemEditable);
};
