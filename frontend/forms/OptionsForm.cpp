/** @file OptionsForm.cpp The options menu. */
#include "frontend/forms/OptionsForm.h"

#include "frontend/forms/ColorFlashForm.h"
#include "frontend/forms/ControllerSettingsForm.h"
#include "frontend/forms/DialogForm.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/GameSelectForm.h"
#include "frontend/forms/ScreenSettingsForm.h"
#include "frontend/forms/SoundSettingsForm.h"

using korvane::mwt::CControl;
using korvane::mwt::CForm;

COptionsForm::COptionsForm()
{
    InitializedEvent = [this](CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

COptionsForm::~COptionsForm()
{
    // A dialog may outlive the menu on the screen: it must not call back into it.
    if (m_confirmDialog) {
        m_confirmDialog->ClosedEvent.clear();
    }
    if (m_confirmAgainDialog) {
        m_confirmAgainDialog->ClosedEvent.clear();
    }
}

void COptionsForm::OnInitialized(CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    ScreenSettingsButton->ClickEvent = [this](CControl* sender) { OpenScreenSettings(sender); };
    SoundSettingsButton->ClickEvent = [this](CControl* sender) { OpenSoundSettings(sender); };
    ControllerSettingsButton->ClickEvent = [this](CControl* sender) { OpenControllerSettings(sender); };
    InitializeButton->ClickEvent = [this](CControl* sender) { ConfirmInitialize(sender); };
    ExitButton->ClickEvent = [this](CControl* sender) { OnExit(sender); };
}

void COptionsForm::OnOpened(CForm*)
{
    BringToFront();
    CForm::SetFocus();
    ScreenSettingsButton->SetFocus();
}

void COptionsForm::OnKeyDown(CControl* sender, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    MenuCancel(*this, key, ExitButton.get(), [this, sender] { OnExit(sender); });
}

void COptionsForm::LeaveFor(const boost::shared_ptr<CForm>& next)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(next);
}

void COptionsForm::OpenScreenSettings(CControl*)
{
    LeaveFor(boost::shared_ptr<CForm>(new CScreenSettingsForm()));
}

void COptionsForm::OpenSoundSettings(CControl*)
{
    LeaveFor(boost::shared_ptr<CForm>(new CSoundSettingsForm()));
}

void COptionsForm::OpenControllerSettings(CControl*)
{
    boost::shared_ptr<CControllerSettingsForm> next(new CControllerSettingsForm());
    CControllerSettingsForm::ResetFocusIndex();
    LeaveFor(next);
}

void COptionsForm::OnExit(CControl*)
{
    LeaveFor(boost::shared_ptr<CForm>(new CGameSelectForm()));
}

void COptionsForm::ConfirmInitialize(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    if (m_confirmDialog) {
        m_confirmDialog->ClosedEvent.clear();
    }
    m_confirmDialog.reset(new CDialogForm(2, "WARNING", CFormSceneLink::GetText("2015_1"),
                                          CFormSceneLink::GetText("2015_2"), CFormSceneLink::GetText("2015_3")));
    m_confirmDialog->ClosedEvent = [this](CForm* sender) { ConfirmInitializeAgain(sender); };
    ShowForm(m_confirmDialog);
}

void COptionsForm::ConfirmInitializeAgain(CForm*)
{
    if (!m_confirmDialog || !m_confirmDialog->IsAccepted()) {
        CForm::SetFocus();
        return;
    }
    if (m_confirmAgainDialog) {
        m_confirmAgainDialog->ClosedEvent.clear();
    }
    m_confirmAgainDialog.reset(new CDialogForm(2, "WARNING WARNING WARNING", CFormSceneLink::GetText("2016_1"),
                                               CFormSceneLink::GetText("2016_2"), CFormSceneLink::GetText("2016_3")));
    m_confirmAgainDialog->ClosedEvent = [this](CForm* sender) { InitializeAllData(sender); };
    ShowForm(m_confirmAgainDialog);
}

void COptionsForm::InitializeAllData(CForm*)
{
    if (m_confirmAgainDialog && m_confirmAgainDialog->IsAccepted()) {
        ShowForm(boost::shared_ptr<CForm>(new CColorFlashForm()));
        CFormSceneLink::InitializeAllData();
    }
    CForm::SetFocus();
}
