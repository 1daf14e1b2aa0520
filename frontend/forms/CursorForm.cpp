/** @file CursorForm.cpp The on-screen pointer the window scene moves. */
#include "frontend/forms/CursorForm.h"

#include <algorithm>

namespace
{

constexpr float kLongestStep = 0.05005005f;
constexpr float kGlideRate = 24.0f;

} // namespace

CCursorForm::CCursorForm() : korvane::mwt::CForm("CursorForm")
{
    SetFormName("CursorForm");
    SetLocation(korvane::Vector2<float>(1125.0f, 590.0f));
    SetSize(korvane::Vector2<float>(64.0f, 64.0f));
    SetTopMost(true);
    SetFocusable(true);
    SetColor(korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f));
    InitializedEvent = [](korvane::mwt::CForm* form) { form->SetEnabled(false); };
    UpdateEvent = [this](korvane::mwt::CComponent*, float seconds) { OnUpdate(seconds); };
}

CCursorForm::~CCursorForm() = default;

void CCursorForm::SetCursorPosition(float x, float y)
{
    target_ = korvane::Vector2<float>(x - kHotSpotX, y - kHotSpotY);
    SetLocation(target_);
}

void CCursorForm::SetTargetPosition(float x, float y)
{
    target_ = korvane::Vector2<float>(x - kHotSpotX, y - kHotSpotY);
}

korvane::Vector2<float> CCursorForm::GetCursorPosition() const
{
    return korvane::Vector2<float>(target_.x + kHotSpotX, target_.y + kHotSpotY);
}

void CCursorForm::SetFocusMode(bool focusMode)
{
    focusMode_ = focusMode;
}

bool CCursorForm::IsFocusMode() const
{
    return focusMode_;
}

void CCursorForm::OnUpdate(float seconds)
{
    const float step = std::min(seconds, kLongestStep) * kGlideRate;
    const korvane::Vector2<float> location = GetLocation();
    SetLocation(korvane::Vector2<float>(location.x + (target_.x - location.x) * step,
                                        location.y + (target_.y - location.y) * step));
}
