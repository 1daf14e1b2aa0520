/** @file CreditsForm.h The credits screen, reached from the title menu. */
#pragma once

#include "frontend/forms/CreditsFormDesign.h"

/// Shows "credits_1" to "credits_13" of the text table (a missing key leaves its line empty);
/// Escape or Return goes back to the title menu, which reopens on the button it left by.
class CCreditsForm : public CCreditsFormDesign
{
public:
    CCreditsForm();
    ~CCreditsForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
};
