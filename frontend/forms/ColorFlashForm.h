/** @file ColorFlashForm.h A white flash over the whole screen that removes itself. */
#pragma once

#include "frontend/forms/ColorFlashFormDesign.h"

/// Opens, and at the first update after its open animation has completed starts closing; the
/// screen then removes it. The opener keeps no pointer to it.
class CColorFlashForm : public CColorFlashFormDesign
{
public:
    CColorFlashForm();
    ~CColorFlashForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);
};
