/** @file TrackBar.cpp The track bar's data and button geometry. */
#include "KorvaneXDK/mwt/TrackBar.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CTrackBar::CTrackBar(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::TrackBarAppearance;
}

CTrackBar::~CTrackBar() = default;

double CTrackBar::GetValue() const
{
    return value_;
}
double CTrackBar::GetMaximum() const
{
    return maximum_;
}
double CTrackBar::GetMinimum() const
{
    return minimum_;
}
void CTrackBar::SetValue(double value)
{
    value_ = value;
}
void CTrackBar::SetMaximum(double maximum)
{
    maximum_ = maximum;
}
void CTrackBar::SetMinimum(double minimum)
{
    minimum_ = minimum;
}
std::int32_t CTrackBar::GetOrientation() const
{
    return orientation_;
}
void CTrackBar::SetOrientation(std::int32_t orientation)
{
    orientation_ = orientation;
}
const canvas::Rect2f& CTrackBar::GetTrackRect() const
{
    return trackRect_;
}
void CTrackBar::SetTrackRect(const canvas::Rect2f& rect)
{
    trackRect_ = rect;
}
float CTrackBar::GetButtonSize() const
{
    return buttonSize_;
}
void CTrackBar::SetButtonSize(float size)
{
    buttonSize_ = size;
}
bool CTrackBar::IsPressed() const
{
    return pressed_;
}
void CTrackBar::SetPressed(bool pressed)
{
    pressed_ = pressed;
}
std::int32_t CTrackBar::GetPressedPart() const
{
    return pressedPart_;
}
void CTrackBar::SetPressedPart(std::int32_t part)
{
    pressedPart_ = part;
}

float CTrackBar::ButtonStart() const
{
    const double range = maximum_ - minimum_;
    double fraction = range > 0.0 ? (value_ - minimum_) / range : 0.0;
    if (!(fraction > 0.0)) {
        fraction = 0.0; // also a value that is no number
    } else if (fraction > 1.0) {
        fraction = 1.0;
    }
    const bool horizontal = orientation_ == kHorizontal;
    const float length = horizontal ? trackRect_.width : trackRect_.height;
    const float start = horizontal ? trackRect_.left : trackRect_.top;
    // A button longer than the track has no room to travel: it stays at the start rather than moving
    // backwards, out of the control, as the value rises.
    const float travel = length > buttonSize_ ? length - buttonSize_ : 0.0f;
    return start + static_cast<float>(fraction) * travel;
}

canvas::Rect2f CTrackBar::GetButtonRect() const
{
    const float start = ButtonStart();
    if (orientation_ == kHorizontal) {
        return canvas::Rect2f(start, trackRect_.top, buttonSize_, trackRect_.height);
    }
    return canvas::Rect2f(trackRect_.left, start, trackRect_.width, buttonSize_);
}

canvas::Rect2f CTrackBar::GetFirstAreaRect() const
{
    const float start = ButtonStart();
    if (orientation_ == kHorizontal) {
        return canvas::Rect2f(trackRect_.left, trackRect_.top, start - trackRect_.left, trackRect_.height);
    }
    return canvas::Rect2f(trackRect_.left, trackRect_.top, trackRect_.width, start - trackRect_.top);
}

canvas::Rect2f CTrackBar::GetSecondAreaRect() const
{
    const float end = ButtonStart() + buttonSize_;
    if (orientation_ == kHorizontal) {
        return canvas::Rect2f(end, trackRect_.top, trackRect_.left + trackRect_.width - end, trackRect_.height);
    }
    return canvas::Rect2f(trackRect_.left, end, trackRect_.width, trackRect_.top + trackRect_.height - end);
}

} // namespace korvane::mwt
