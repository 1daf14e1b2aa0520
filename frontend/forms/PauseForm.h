/** @file PauseForm.h The menu shown while a game is paused. */
#pragma once

#include "frontend/forms/PauseFormDesign.h"

/// Continue or the pause key resume; Exit To Main Menu asks the game to end. The owner reads
/// IsExitRequested once the form has closed.
class CPauseForm : public CPauseFormDesign
{
public:
    CPauseForm();
    ~CPauseForm() override;

    virtual bool IsExitRequested() const;
    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnContinue(korvane::mwt::CControl* sender);
    virtual void OnExitToMainMenu(korvane::mwt::CControl* sender);

private:
    bool exitRequested_ = false;
};
