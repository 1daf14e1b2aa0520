/** @file CursorForm.cpp The on-screen pointer. */
#include "frontend/forms/CursorForm.h"

#include <algorithm>
#include <cmath>

#include "frontend/forms/FormSceneLink.h"

CCursorForm::CCursorForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    UpdateEvent = [this](korvane::mwt::CComponent* sender, float seconds) { OnUpdate(sender, seconds); };
}

CCursorForm::~CCursorForm() = default;

void CCursorForm::SetCursorPosition(const korvane::Vector2<float>& point)
{
    target_ = korvane::Vector2<float>(point.x - hotSpot_.x, point.y - hotSpot_.y);
    SetLocation(target_);
}

void CCursorForm::SetTargetPosition(const korvane::Vector2<float>& point)
{
    target_ = korvane::Vector2<float>(point.x - hotSpot_.x, point.y - hotSpot_.y);
}

korvane::Vector2<float> CCursorForm::GetCursorPosition() const
{
    return korvane::Vector2<float>(target_.x + hotSpot_.x, target_.y + hotSpot_.y);
}

void CCursorForm::SetFocusMode(bool focusMode)
{
    focusMode_ = focusMode;
}

bool CCursorForm::IsFocusMode() const
{
    return focusMode_;
}

void CCursorForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    SetEnabled(false);
}

void CCursorForm::OnUpdate(korvane::mwt::CComponent*, float seconds)
{
    const float step = std::min(seconds, kMaxStep);
    pulseClock_ += step;
    float alpha = 1.0f;
    if (focusMode_) {
        const double pi = static_cast<double>(3.14159265f);
        alpha = static_cast<float>(0.8 * std::fabs(std::cos(2.0 * pi * pulseClock_)) + 0.2);
    }
    if (CursorImage) {
        CursorImage->SetEffectColor(korvane::Color4<float>(1.0f, 1.0f, 1.0f, alpha));
    }
    const korvane::Vector2<float> location = GetLocation();
    const float share = step * kGlideRate;
    SetLocation(korvane::Vector2<float>(location.x + (target_.x - location.x) * share,
                                        location.y + (target_.y - location.y) * share));
}
