/** @file KeyMappingForm.h The key mapping screen of one device kind: the held input binds the focused row's action. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/forms/KeyMappingFormDesign.h"
#include "frontend/forms/KeyMappingRow.h"

namespace korvane
{
class IController;
}

/// While an action row has the focus, the first input held on a device of the kind becomes the
/// action's first binding on every such device. Inputs held for the directions (and, when the
/// system actions are locked, for decide, cancel and pause) bind nothing. With no device of the
/// kind the labels read "[NONE]" and nothing is captured.
class CKeyMappingForm : public CKeyMappingFormDesign
{
public:
    CKeyMappingForm(const std::string& title, std::uint32_t controllerType, bool systemEditable);
    ~CKeyMappingForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    /// Throws EIOError "target controller is empty" when no device of the kind is held.
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);
    virtual void OnFocusChanged(korvane::mwt::CControl* sender);
    virtual void OnDefaultClick(korvane::mwt::CControl* sender);
    virtual void OnExitClick(korvane::mwt::CControl* sender);

    void CollectTargetControllers();
    void UpdateKeyLabels();

    const std::vector<KeyMappingRow>& GetRows() const { return m_rows; }
    const std::vector<korvane::IController*>& GetTargetControllers() const { return m_targetControllers; }

private:
    std::string m_title;
    std::uint32_t m_controllerType;
    bool m_systemEditable;
    std::vector<KeyMappingRow> m_rows;
    std::vector<korvane::IController*> m_targetControllers;
    std::string m_lastCapturedAction;
    std::uint32_t m_lastCapturedCode = 0;
};
