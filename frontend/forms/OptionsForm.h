/** @file OptionsForm.h The options menu: the three settings screens, the confirmed reset of all data, and back. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "frontend/forms/FocusPreservedForm.h"
#include "frontend/forms/OptionsFormDesign.h"

class CDialogForm;

/// Reopens on the button it was left by. Initialize asks twice; only two acceptances reset the
/// key mappings and the music version and delete both games' saves (the preferences reach the
/// file at exit).
class COptionsForm : public TFocusPreservedForm<COptionsFormDesign>
{
public:
    COptionsForm();
    ~COptionsForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OpenScreenSettings(korvane::mwt::CControl* sender);
    virtual void OpenSoundSettings(korvane::mwt::CControl* sender);
    virtual void OpenControllerSettings(korvane::mwt::CControl* sender);
    virtual void ConfirmInitialize(korvane::mwt::CControl* sender);
    virtual void OnExit(korvane::mwt::CControl* sender);
    virtual void ConfirmInitializeAgain(korvane::mwt::CForm* sender);
    virtual void InitializeAllData(korvane::mwt::CForm* sender);

    const boost::shared_ptr<CDialogForm>& GetConfirmDialog() const { return m_confirmDialog; }
    const boost::shared_ptr<CDialogForm>& GetConfirmAgainDialog() const { return m_confirmAgainDialog; }

private:
    /// Close this menu and show the next screen.
    void LeaveFor(const boost::shared_ptr<korvane::mwt::CForm>& next);

    boost::shared_ptr<CDialogForm> m_confirmDialog;
    boost::shared_ptr<CDialogForm> m_confirmAgainDialog;
};
