/** @file ScreenSettingsForm.h The screen settings screen: display mode and resolution through Apply, rotation and
 * aspect at once. */
#pragma once

#include <cstdint>

#include <boost/shared_ptr.hpp>

#include "frontend/forms/ScreenSettingsFormDesign.h"

class CScreenModeConfirmDialogForm;

/// Exit reads " APPLY" while the chosen mode differs from the one in force. Apply switches the
/// device and asks for confirmation; a declined or timed-out confirmation restores the mode
/// the screen opened with, and so does a program that ends before the answer (the settings saved
/// at exit hold that mode). Rotation and aspect reach the window scene at once and stay.
class CScreenSettingsForm : public CScreenSettingsFormDesign
{
public:
    CScreenSettingsForm();
    ~CScreenSettingsForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnScreenModeChanged(korvane::mwt::CControl* sender);
    virtual void OnScreenSizeChanged(korvane::mwt::CControl* sender);
    virtual void OnRotationChanged(korvane::mwt::CControl* sender);
    virtual void OnAspectRatioChanged(korvane::mwt::CControl* sender);
    virtual void OnDefault(korvane::mwt::CControl* sender);
    virtual void ApplyOrExit(korvane::mwt::CControl* sender);
    virtual void OnConfirmDialogClosed(korvane::mwt::CForm* sender);

    bool IsDisplayModeChanged();
    void UpdateExitCaption();
    void ApplySelectedDisplayMode();

    const boost::shared_ptr<CScreenModeConfirmDialogForm>& GetConfirmDialog() const { return m_confirmDialog; }

private:
    void ReturnToOptions();

    boost::shared_ptr<CScreenModeConfirmDialogForm> m_confirmDialog;
    bool m_savedFullscreen = false;
    std::int32_t m_savedModeIndex = 0;
};
