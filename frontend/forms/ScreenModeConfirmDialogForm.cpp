/** @file ScreenModeConfirmDialogForm.cpp The display mode countdown. */
#include "frontend/forms/ScreenModeConfirmDialogForm.h"

#include "KorvaneXDK/core/StringUtility.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/SettingsFormParts.h"

CScreenModeConfirmDialogForm::CScreenModeConfirmDialogForm()
    : CDialogForm(2, "CONFIRM", CFormSceneLink::GetText("2023"), CFormSceneLink::GetText("2024_1"),
                  CFormSceneLink::GetText("2024_2")),
      m_countdownText(CFormSceneLink::GetText("2024_2"))
{
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
}

CScreenModeConfirmDialogForm::~CScreenModeConfirmDialogForm() = default;

void CScreenModeConfirmDialogForm::OnUpdate(korvane::mwt::CComponent* sender, float seconds)
{
    if (IsClosing()) {
        return;
    }
    m_remainingTime -= seconds;
    if (m_remainingTime >= 0.0f) {
        // The text table's entry is data: only its "%s" is filled, nothing in it is a format.
        SetLine3(ReplaceFirstPlaceholder(m_countdownText,
                                         korvane::FormatString("%.2f", static_cast<double>(m_remainingTime))));
    } else {
        CDialogForm::OnKeyDown(dynamic_cast<korvane::mwt::CControl*>(sender), form_names::kKeyEscape);
    }
}
