/** @file ControllerSettingsForm.cpp The controller settings menu. */
#include "frontend/forms/ControllerSettingsForm.h"

#include "KorvaneXDK/platform/input/Controller.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/KeyMappingForm.h"
#include "frontend/forms/OptionsForm.h"

using korvane::mwt::CControl;
using korvane::mwt::CForm;

CControllerSettingsForm::CControllerSettingsForm()
{
    InitializedEvent = [this](CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CControllerSettingsForm::~CControllerSettingsForm() = default;

bool CControllerSettingsForm::HasControllerOfType(std::int32_t type)
{
    return !CFormSceneLink::GetControllersOfType(type).empty();
}

void CControllerSettingsForm::OnInitialized(CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    KeyboardButton->ClickEvent = [this](CControl* sender) { OnKeyboardMapping(sender); };
    DirectInputButton->ClickEvent = [this](CControl* sender) { OnDirectInputMapping(sender); };
    XInputButton->ClickEvent = [this](CControl* sender) { OnXInputMapping(sender); };
    ExitButton->ClickEvent = [this](CControl* sender) { OnExit(sender); };
}

void CControllerSettingsForm::OnOpened(CForm*)
{
    // The key mapping screen refuses a kind with no device, so its entry cannot be chosen.
    DirectInputButton->SetEnabled(HasControllerOfType(korvane::kControllerJoystick));
    XInputButton->SetEnabled(HasControllerOfType(korvane::kControllerXInput));
    BringToFront();
    CForm::SetFocus();
    KeyboardButton->SetFocus();
}

void CControllerSettingsForm::OnKeyDown(CControl* sender, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    MenuCancel(*this, key, ExitButton.get(), [this, sender] { OnExit(sender); });
}

void CControllerSettingsForm::OpenKeyMapping(const std::string& title, std::uint32_t type, bool systemEditable)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CForm>(new CKeyMappingForm(title, type, systemEditable)));
}

void CControllerSettingsForm::OnKeyboardMapping(CControl*)
{
    OpenKeyMapping("Keyboard Mapping", korvane::kControllerKeyboard, false);
}

void CControllerSettingsForm::OnDirectInputMapping(CControl*)
{
    OpenKeyMapping("Direct-Input Mapping", korvane::kControllerJoystick, true);
}

void CControllerSettingsForm::OnXInputMapping(CControl*)
{
    OpenKeyMapping("X-Input Mapping", korvane::kControllerXInput, true);
}

void CControllerSettingsForm::OnExit(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CForm>(new COptionsForm()));
}
