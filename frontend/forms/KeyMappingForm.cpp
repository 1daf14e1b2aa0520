/** @file KeyMappingForm.cpp The key mapping screen. */
#include "frontend/forms/KeyMappingForm.h"

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/Controller.h"
#include "frontend/forms/ControllerSettingsForm.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"

using korvane::mwt::CComponent;
using korvane::mwt::CControl;
using korvane::mwt::CForm;

CKeyMappingForm::CKeyMappingForm(const std::string& title, std::uint32_t controllerType, bool systemEditable)
    : m_title(title), m_controllerType(controllerType), m_systemEditable(systemEditable)
{
    InitializedEvent = [this](CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
    UpdateEvent = [this](CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
    FocusChangedEvent = [this](CControl* sender) { OnFocusChanged(sender); };
}

CKeyMappingForm::~CKeyMappingForm() = default;

void CKeyMappingForm::OnInitialized(CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    FormCaptionLabel->SetCaption(m_title);
    DefaultButton->ClickEvent = [this](CControl* sender) { OnDefaultClick(sender); };
    ExitButton->ClickEvent = [this](CControl* sender) { OnExitClick(sender); };
    if (!m_systemEditable) {
        SystemKeyPanel->SetEnabled(false);
        SystemKeyPanel->SetEffectColor(korvane::Color4<float>(1.0f, 1.0f, 1.0f, 0.4f));
    }
    m_rows = {
        {FrontShotLabel, FrontShotKeyLabel, "x2"}, {WideShotLabel, WideShotKeyLabel, "x1"},
        {ShieldLabel, ShieldKeyLabel, "x4"},       {SuperShotLabel, SuperShotKeyLabel, "x3"},
        {OkLabel, OkKeyLabel, "decide"},           {CancelLabel, CancelKeyLabel, "cancel"},
        {PauseLabel, PauseKeyLabel, "pause"},
    };
}

void CKeyMappingForm::OnOpened(CForm*)
{
    BringToFront();
    CForm::SetFocus();
    ExitButton->SetFocus();
    CollectTargetControllers();
    UpdateKeyLabels();
}

void CKeyMappingForm::CollectTargetControllers()
{
    m_targetControllers = CFormSceneLink::GetControllersOfType(static_cast<std::int32_t>(m_controllerType));
    if (m_targetControllers.empty()) {
        // The labels must not keep their placeholders when the screen stays open regardless.
        UpdateKeyLabels();
        throw korvane::EIOError(this, "target controller is empty");
    }
}

void CKeyMappingForm::UpdateKeyLabels()
{
    for (const KeyMappingRow& row : m_rows) {
        const std::string name =
            m_targetControllers.empty() ? "NONE" : m_targetControllers.front()->GetInputName(row.action, 0);
        row.keyLabel->SetCaption("[" + name + "]");
    }
}

void CKeyMappingForm::OnUpdate(CComponent*, float)
{
    if (m_targetControllers.empty()) {
        return;
    }
    for (const char* direction : {"up", "left", "right", "down"}) {
        if (CFormSceneLink::IsHeld(direction)) {
            return;
        }
    }
    if (!m_systemEditable) {
        for (const char* system : {"decide", "cancel", "pause"}) {
            if (CFormSceneLink::IsHeld(system)) {
                return;
            }
        }
    }
    const boost::shared_ptr<CControl> focused = GetFocusedLeaf();
    const KeyMappingRow* row = nullptr;
    for (const KeyMappingRow& candidate : m_rows) {
        if (focused && candidate.rowControl == focused) {
            row = &candidate;
            break;
        }
    }
    if (row == nullptr) {
        return;
    }
    korvane::IController* source = nullptr;
    for (korvane::IController* target : m_targetControllers) {
        if (target->GetActiveInput(row->action, 0)) {
            source = target;
            break;
        }
    }
    if (source == nullptr) {
        return;
    }
    const std::uint32_t code = source->GetMapping(row->action, 0);
    for (korvane::IController* target : m_targetControllers) {
        target->SetMapping(row->action, 0, code);
    }
    UpdateKeyLabels();
    if (row->action != m_lastCapturedAction || code != m_lastCapturedCode) {
        CFormSceneLink::PlaySound(EUiSound::Decide);
    }
    m_lastCapturedAction = row->action;
    m_lastCapturedCode = code;
}

void CKeyMappingForm::OnFocusChanged(CControl*)
{
    if (!IsInitialized()) {
        return;
    }
    const boost::shared_ptr<CControl> focused = GetFocusedLeaf();
    if (!focused) {
        return;
    }
    HintLabel1->SetCaption(CFormSceneLink::GetText(focused->GetText() + "_1"));
    HintLabel2->SetCaption(CFormSceneLink::GetText(focused->GetText() + "_2"));
}

void CKeyMappingForm::OnKeyDown(CControl* sender, unsigned int key)
{
    if (IsClosing() || key != form_names::kKeyEscape) {
        return;
    }
    if (GetFocusedLeaf() == ExitButton) {
        CFormSceneLink::PlaySound(EUiSound::Cancel);
        OnExitClick(sender);
    } else if (!m_systemEditable) {
        CFormSceneLink::PlaySound(EUiSound::Cancel);
        ExitButton->SetFocus();
    }
}

void CKeyMappingForm::OnDefaultClick(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    CFormSceneLink::ResetKeyMapping(static_cast<std::int32_t>(m_controllerType));
    UpdateKeyLabels();
}

void CKeyMappingForm::OnExitClick(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CForm>(new CControllerSettingsForm()));
}
