/** @file ScreenModeConfirmDialogForm.h The countdown that keeps a new display mode only when confirmed. */
#pragma once

#include "frontend/forms/DialogForm.h"

/// "CONFIRM" with the texts "2023", "2024_1" and "2024_2"; Return keeps the mode, Escape or 15
/// seconds without an answer decline it. The third line shows the seconds left.
class CScreenModeConfirmDialogForm : public CDialogForm
{
public:
    static constexpr float kSeconds = 15.0f;

    CScreenModeConfirmDialogForm();
    ~CScreenModeConfirmDialogForm() override;

    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);

    float GetRemainingTime() const { return m_remainingTime; }

private:
    std::string m_countdownText;
    float m_remainingTime = kSeconds;
};
