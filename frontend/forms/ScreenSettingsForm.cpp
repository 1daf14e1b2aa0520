/** @file ScreenSettingsForm.cpp The screen settings screen. */
#include "frontend/forms/ScreenSettingsForm.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/GameWindow.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/OptionsForm.h"
#include "frontend/forms/ScreenModeConfirmDialogForm.h"

using korvane::mwt::CControl;
using korvane::mwt::CForm;
using korvane::mwt::CHorizontalSelector;

namespace
{

korvane::CGraphicsModePreference& ModePreference()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver == nullptr) {
        throw korvane::EInvalidOperation(nullptr, "No application driver.");
    }
    return driver->GetGraphicsModePreference();
}

} // namespace

CScreenSettingsForm::CScreenSettingsForm()
{
    InitializedEvent = [this](CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CScreenSettingsForm::~CScreenSettingsForm()
{
    // The dialog may outlive this screen on the screen: it must not call back into it.
    if (m_confirmDialog) {
        m_confirmDialog->ClosedEvent.clear();
    }
}

void CScreenSettingsForm::OnInitialized(CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    DefaultButton->ClickEvent = [this](CControl* sender) { OnDefault(sender); };
    ExitButton->ClickEvent = [this](CControl* sender) { ApplyOrExit(sender); };

    korvane::CGraphicsModePreference& preference = ModePreference();
    m_savedFullscreen = preference.fullscreen;
    m_savedModeIndex = preference.selectedIndex;

    // Items first, then the start value, then the handler: opening runs no handler.
    ScreenModeSelector->GetItems() = {"Windowed", "Full Screen"};
    ScreenModeSelector->SetSelectedIndex(preference.fullscreen ? 1 : 0);
    ScreenModeSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnScreenModeChanged(sender); };

    for (const korvane::CGraphicsModePreference::DisplayMode& mode : preference.modes) {
        ScreenSizeSelector->GetItems().push_back(korvane::FormatString("%dx%d(%dHz)", static_cast<int>(mode.Width),
                                                                       static_cast<int>(mode.Height),
                                                                       static_cast<int>(mode.RefreshRate)));
    }
    ScreenSizeSelector->SetSelectedIndex(preference.selectedIndex);
    ScreenSizeSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnScreenSizeChanged(sender); };

    for (int percent = 0; percent <= 100; percent += 5) {
        WallpaperBrightnessSelector->GetItems().push_back(korvane::IntToString(percent));
    }

    RotateSelector->GetItems() = {"OFF", "Right", "Cocktail", "Left"};
    RotateSelector->SetSelectedIndex(CFormSceneLink::GetScreenRotation());
    RotateSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnRotationChanged(sender); };

    AspectRatioSelector->GetItems() = {"Default", "16:9", "16:10", "4:3", "5:4"};
    AspectRatioSelector->SetSelectedIndex(CFormSceneLink::GetAspectRatio());
    AspectRatioSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnAspectRatioChanged(sender); };

    WallpaperBrightnessLabel->SetVisible(false);
    WallpaperBrightnessSelector->SetVisible(false);
    DefaultButton->SetVisible(false);
}

void CScreenSettingsForm::OnOpened(CForm*)
{
    BringToFront();
    CForm::SetFocus();
    ScreenModeLabel->SetFocus();
}

void CScreenSettingsForm::OnKeyDown(CControl* sender, unsigned int key)
{
    // Only Escape is this screen's: left and right belong to the rows' selectors.
    if (IsClosing() || key != form_names::kKeyEscape) {
        return;
    }
    CFormSceneLink::PlaySound(EUiSound::Cancel);
    if (GetFocusedLeaf() == ExitButton) {
        ApplyOrExit(sender);
    } else {
        ExitButton->SetFocus();
    }
}

void CScreenSettingsForm::OnScreenModeChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    UpdateExitCaption();
}

void CScreenSettingsForm::OnScreenSizeChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    UpdateExitCaption();
}

void CScreenSettingsForm::OnRotationChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    CFormSceneLink::SetScreenRotation(RotateSelector->GetSelectedIndex());
}

void CScreenSettingsForm::OnAspectRatioChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    CFormSceneLink::SetAspectRatio(AspectRatioSelector->GetSelectedIndex());
}

void CScreenSettingsForm::OnDefault(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
}

bool CScreenSettingsForm::IsDisplayModeChanged()
{
    const korvane::CGraphicsModePreference& preference = ModePreference();
    if (ScreenSizeSelector->GetSelectedIndex() != preference.selectedIndex) {
        return true;
    }
    const bool fullscreenChosen = ScreenModeSelector->GetSelectedIndex() != 0;
    return fullscreenChosen != preference.fullscreen;
}

void CScreenSettingsForm::UpdateExitCaption()
{
    ExitButton->SetCaption(IsDisplayModeChanged() ? " APPLY" : " EXIT");
}

void CScreenSettingsForm::ReturnToOptions()
{
    Close();
    ShowForm(boost::shared_ptr<CForm>(new COptionsForm()));
}

void CScreenSettingsForm::ApplyOrExit(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    if (!IsDisplayModeChanged()) {
        ReturnToOptions();
        return;
    }
    // Until the answer, the mode this screen opened with is the one kept at exit.
    ModePreference().BeginConfirmation(m_savedModeIndex, m_savedFullscreen);
    ApplySelectedDisplayMode();
    if (m_confirmDialog) {
        m_confirmDialog->ClosingEvent.clear();
        m_confirmDialog->ClosedEvent.clear();
    }
    m_confirmDialog.reset(new CScreenModeConfirmDialogForm());
    // A kept mode is kept from the key on: the program may end while the dialog is still closing,
    // or after this screen is gone. A refusal stays pending until the old mode is back.
    CScreenModeConfirmDialogForm* dialog = m_confirmDialog.get();
    m_confirmDialog->ClosingEvent = [dialog](CForm*) {
        if (dialog->IsAccepted()) {
            ModePreference().EndConfirmation();
        }
    };
    m_confirmDialog->ClosedEvent = [this](CForm* sender) { OnConfirmDialogClosed(sender); };
    ShowForm(m_confirmDialog);
}

void CScreenSettingsForm::OnConfirmDialogClosed(CForm*)
{
    ModePreference().EndConfirmation();
    if (m_confirmDialog && m_confirmDialog->IsAccepted()) {
        ReturnToOptions();
        return;
    }
    CForm::SetFocus();
    ScreenModeSelector->SetSelectedIndex(m_savedFullscreen ? 1 : 0);
    ScreenSizeSelector->SetSelectedIndex(m_savedModeIndex);
    ApplySelectedDisplayMode();
    UpdateExitCaption();
}

void CScreenSettingsForm::ApplySelectedDisplayMode()
{
    korvane::CGameApplicationDriverCX* driver = korvane::GetApplicationDriver();
    if (driver == nullptr) {
        throw korvane::EInvalidOperation(this, "No application driver.");
    }
    korvane::CDXGraphics* graphics = driver->GetGraphics();
    korvane::CGameWindow* window = driver->GetGameWindow();
    korvane::CGraphicsModePreference& preference = driver->GetGraphicsModePreference();
    preference.SelectMode(ScreenSizeSelector->GetSelectedIndex());
    preference.fullscreen = ScreenModeSelector->GetSelectedIndex() == 1;
    // The game window stands where the device's window handle goes.
    os::gfx::PresentParameters fullscreenParameters = preference.fullscreenParameters;
    fullscreenParameters.DeviceWindow = window != nullptr ? window->GetHandle() : nullptr;
    graphics->SetFullscreenPresentParameters(fullscreenParameters);
    os::gfx::PresentParameters windowedParameters = preference.windowedParameters;
    windowedParameters.DeviceWindow = fullscreenParameters.DeviceWindow;
    graphics->SetWindowedPresentParameters(windowedParameters);
    graphics->SetFullscreen(preference.fullscreen);
}
