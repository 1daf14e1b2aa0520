/** @file DialogForm.cpp Messages and yes-or-no questions. */
#include "frontend/forms/DialogForm.h"

#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"

CDialogForm::CDialogForm(std::int32_t kind, const std::string& caption, const std::string& line1,
                         const std::string& line2, const std::string& line3)
    : CDialogFormDesign(kind, caption, line1, line2, line3)
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CDialogForm::~CDialogForm() = default;

bool CDialogForm::IsAccepted() const
{
    return accepted_;
}

void CDialogForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
}

void CDialogForm::OnOpened(korvane::mwt::CForm*)
{
    BringToFront();
    SetFocus();
}

void CDialogForm::OnKeyDown(korvane::mwt::CControl*, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    if (key == form_names::kKeyReturn && (kind_ == 1 || kind_ == 2)) {
        accepted_ = true;
        CFormSceneLink::PlaySound(EUiSound::Decide);
        Close();
    } else if (key == form_names::kKeyEscape && kind_ == 2) {
        accepted_ = false;
        CFormSceneLink::PlaySound(EUiSound::Cancel);
        Close();
    }
}

void CDialogForm::SetLine3(const std::string& text)
{
    line3_ = text;
    if (Line3Label) {
        Line3Label->SetCaption(text);
    }
}
