/** @file ScrollBar.cpp The scroll bar's value, geometry, pointer, auto-repeat and keys. */
#include "KorvaneXDK/mwt/ScrollBar.h"

#include <algorithm>

#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "os/window/Messages.h"

namespace korvane::mwt
{
namespace
{

using os::window::VK_DOWN;
using os::window::VK_LEFT;
using os::window::VK_NEXT;
using os::window::VK_PRIOR;
using os::window::VK_RIGHT;
using os::window::VK_UP;

} // namespace

CScrollBar::CScrollBar(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::ScrollBarAppearance;
}

CScrollBar::~CScrollBar() = default;

void CScrollBar::SetValue(double value)
{
    const double clamped = std::max(minimum_, std::min(value, maximum_ - pageSize_));
    if (clamped == value_) {
        return;
    }
    value_ = clamped;
    if (ValueChangedEvent) {
        ValueChangedEvent(this);
    }
}

double CScrollBar::GetValue() const
{
    return value_;
}

void CScrollBar::SetMaximum(double maximum)
{
    maximum_ = maximum;
}

double CScrollBar::GetMaximum() const
{
    return maximum_;
}

void CScrollBar::SetMinimum(double minimum)
{
    minimum_ = minimum;
}

double CScrollBar::GetMinimum() const
{
    return minimum_;
}

void CScrollBar::SetSmallChange(double change)
{
    smallChange_ = change;
}

double CScrollBar::GetSmallChange() const
{
    return smallChange_;
}

void CScrollBar::SetLargeChange(double change)
{
    largeChange_ = change;
}

double CScrollBar::GetLargeChange() const
{
    return largeChange_;
}

void CScrollBar::SetPageSize(double pageSize)
{
    pageSize_ = pageSize;
}

double CScrollBar::GetPageSize() const
{
    return std::min(maximum_ - minimum_, pageSize_);
}

void CScrollBar::SetOrientation(std::int32_t orientation)
{
    orientation_ = orientation;
    if (GetAppearance()) {
        GetAppearance()->Layout(this);
    }
}

std::int32_t CScrollBar::GetOrientation() const
{
    return orientation_;
}

void CScrollBar::SetIncreaseButtonRect(const canvas::Rect2f& rect)
{
    increaseButtonRect_ = rect;
}

const canvas::Rect2f& CScrollBar::GetIncreaseButtonRect() const
{
    return increaseButtonRect_;
}

void CScrollBar::SetDecreaseButtonRect(const canvas::Rect2f& rect)
{
    decreaseButtonRect_ = rect;
}

const canvas::Rect2f& CScrollBar::GetDecreaseButtonRect() const
{
    return decreaseButtonRect_;
}

void CScrollBar::SetTrackRect(const canvas::Rect2f& rect)
{
    trackRect_ = rect;
}

const canvas::Rect2f& CScrollBar::GetTrackRect() const
{
    return trackRect_;
}

void CScrollBar::SetMinThumbLength(float length)
{
    minThumbLength_ = length;
}

float CScrollBar::GetMinThumbLength() const
{
    return minThumbLength_;
}

bool CScrollBar::IsPartPressed() const
{
    return pressedOver_;
}

std::int32_t CScrollBar::GetPressedPart() const
{
    return pressedPart_;
}

double CScrollBar::GetRange() const
{
    const double range = maximum_ - minimum_;
    return range == 0.0 ? 1.0 : range;
}

void CScrollBar::GetThumbLength(float& length, float& extra) const
{
    const float travel = IsVertical() ? trackRect_.height : trackRect_.width;
    length = static_cast<float>(GetPageSize() / GetRange()) * travel;
    extra = 0.0f;
    if (minThumbLength_ > length) {
        extra = minThumbLength_ - length;
        length = minThumbLength_;
    }
}

canvas::Rect2f CScrollBar::GetThumbRect() const
{
    float length = 0.0f;
    float extra = 0.0f;
    GetThumbLength(length, extra);
    const double fraction = (value_ - minimum_) / GetRange();
    const canvas::Rect2f& t = trackRect_;
    if (IsVertical()) {
        return canvas::Rect2f(t.left, static_cast<float>(t.top + (t.height - extra) * fraction), t.width, length);
    }
    return canvas::Rect2f(static_cast<float>(t.left + (t.width - extra) * fraction), t.top, length, t.height);
}

canvas::Rect2f CScrollBar::GetPageIncreaseRect() const
{
    const canvas::Rect2f thumb = GetThumbRect();
    const canvas::Rect2f& t = trackRect_;
    if (IsVertical()) {
        return canvas::Rect2f(t.left, thumb.GetBottom(), t.width, t.GetBottom() - thumb.GetBottom());
    }
    return canvas::Rect2f(thumb.GetRight(), t.top, t.GetRight() - thumb.GetRight(), t.height);
}

canvas::Rect2f CScrollBar::GetPageDecreaseRect() const
{
    const canvas::Rect2f thumb = GetThumbRect();
    const canvas::Rect2f& t = trackRect_;
    if (IsVertical()) {
        return canvas::Rect2f(t.left, t.top, t.width, thumb.top - t.top);
    }
    return canvas::Rect2f(t.left, t.top, thumb.left - t.left, t.height);
}

bool CScrollBar::PartContains(std::int32_t part, const Vector2<float>& point) const
{
    switch (part) {
    case kPartIncreaseButton:
        return increaseButtonRect_.Contains(point);
    case kPartDecreaseButton:
        return decreaseButtonRect_.Contains(point);
    case kPartPageIncrease:
        return GetPageIncreaseRect().Contains(point);
    case kPartPageDecrease:
        return GetPageDecreaseRect().Contains(point);
    case kPartThumb: {
        const canvas::Rect2f thumb = GetThumbRect();
        return canvas::Rect2f(thumb.left - kThumbReach, thumb.top - kThumbReach, thumb.width + 2.0f * kThumbReach,
                              thumb.height + 2.0f * kThumbReach)
            .Contains(point);
    }
    default:
        return false;
    }
}

void CScrollBar::OnMouseDown(const Vector2<float>& point, int button)
{
    if (button == 1 && !IsLayoutEditMode()) {
        std::int32_t part = kPartNone;
        for (std::int32_t candidate = kPartIncreaseButton; candidate <= kPartThumb; ++candidate) {
            if (PartContains(candidate, point)) {
                part = candidate;
                break;
            }
        }
        switch (part) {
        case kPartIncreaseButton:
            SetValue(value_ + smallChange_);
            break;
        case kPartDecreaseButton:
            SetValue(value_ - smallChange_);
            break;
        case kPartPageIncrease:
            SetValue(value_ + largeChange_);
            break;
        case kPartPageDecrease:
            SetValue(value_ - largeChange_);
            break;
        case kPartThumb: {
            const canvas::Rect2f thumb = GetThumbRect();
            grabOffset_ = Vector2<float>(point.x - thumb.left, point.y - thumb.top);
            valueAtPress_ = value_;
            break;
        }
        default:
            break;
        }
        if (part != kPartNone) {
            pressedPart_ = part;
            pressed_ = true;
            pressedOver_ = true;
            repeatClock_ = 0.0f;
            lastRepeat_ = kRepeatDelay;
            pointer_ = point;
        }
    }
    CControl::OnMouseDown(point, button);
}

void CScrollBar::OnMouseMove(const Vector2<float>& point, int buttons)
{
    pointer_ = point;
    if (pressed_) {
        pressedOver_ = PartContains(pressedPart_, point);
        if (pressedPart_ == kPartThumb) {
            DragThumb();
        }
    } else {
        pressedOver_ = false;
    }
    CControl::OnMouseMove(point, buttons);
}

void CScrollBar::DragThumb()
{
    if (!pressedOver_) {
        SetValue(valueAtPress_);
        return;
    }
    float length = 0.0f;
    float extra = 0.0f;
    GetThumbLength(length, extra);
    const bool vertical = IsVertical();
    const float travel = (vertical ? trackRect_.height : trackRect_.width) - extra;
    // A bar too short for its thumb has no travel to map the pointer onto.
    if (!(travel > 0.0f)) {
        return;
    }
    const float along =
        vertical ? pointer_.y - trackRect_.top - grabOffset_.y : pointer_.x - trackRect_.left - grabOffset_.x;
    SetValue(static_cast<double>(along / travel) * GetRange() + minimum_);
}

void CScrollBar::OnMouseUp(const Vector2<float>& point, int button)
{
    pressed_ = false;
    pressedOver_ = false;
    CControl::OnMouseUp(point, button);
}

void CScrollBar::OnWindowDeactivate()
{
    pressed_ = false;
    pressedOver_ = false;
    CControl::OnWindowDeactivate();
}

void CScrollBar::Update(float seconds)
{
    if (pressed_) {
        pressedOver_ = PartContains(pressedPart_, pointer_);
    }
    if (!pressedOver_ || pressedPart_ == kPartThumb) {
        return;
    }
    repeatClock_ += seconds;
    const float due = repeatClock_ - lastRepeat_;
    if (!(due >= kRepeatInterval)) {
        return;
    }
    // Slow frames catch up with several steps at once.
    const double steps = static_cast<double>(canvas::SaturateToInt32(static_cast<double>(due / kRepeatInterval)));
    switch (pressedPart_) {
    case kPartIncreaseButton:
        SetValue(value_ + steps * smallChange_);
        break;
    case kPartDecreaseButton:
        SetValue(value_ - steps * smallChange_);
        break;
    case kPartPageIncrease:
        SetValue(value_ + steps * largeChange_);
        break;
    case kPartPageDecrease:
        SetValue(value_ - steps * largeChange_);
        break;
    default:
        break;
    }
    lastRepeat_ = repeatClock_;
}

void CScrollBar::OnKeyDown(unsigned int key)
{
    switch (key & 0xFFFFu) {
    case VK_LEFT:
    case VK_UP:
        SetValue(value_ - smallChange_);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetValue(value_ + smallChange_);
        break;
    case VK_PRIOR:
        SetValue(value_ - largeChange_);
        break;
    case VK_NEXT:
        SetValue(value_ + largeChange_);
        break;
    default:
        break;
    }
}

} // namespace korvane::mwt
