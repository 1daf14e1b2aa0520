/** @file DialogForm.h Messages and yes-or-no questions put in front of the current screen. */
#pragma once

#include <cstdint>
#include <string>

#include "frontend/forms/DialogFormDesign.h"

/// Kind 0 is a message no key closes (its owner closes it); kind 1 closes on Return, accepted;
/// kind 2 accepts on Return and declines on Escape. It closes once; the owner binds ClosedEvent
/// and reads IsAccepted.
class CDialogForm : public CDialogFormDesign
{
public:
    CDialogForm(std::int32_t kind, const std::string& caption, const std::string& line1, const std::string& line2,
                const std::string& line3 = std::string());
    ~CDialogForm() override;

    /// True only after closing with Return.
    virtual bool IsAccepted() const;
    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);

    /// The third line, for dialogs whose last line changes while they are shown.
    void SetLine3(const std::string& text);

protected:
    bool accepted_ = false;
};
