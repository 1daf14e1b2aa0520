/** @file HorizontalSelector.cpp The option row's stepping and drawing. */
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "os/window/Messages.h"

namespace korvane::mwt
{
namespace
{

using os::window::VK_DOWN;
using os::window::VK_LEFT;
using os::window::VK_RIGHT;
using os::window::VK_UP;

const Color4<float> kFadedMarker(1.0f, 1.0f, 1.0f, 0.2f);

} // namespace

CHorizontalSelector::CHorizontalSelector(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::HorizontalSelectorAppearance;
}

CHorizontalSelector::~CHorizontalSelector() = default;

std::vector<std::string>& CHorizontalSelector::GetItems()
{
    return items_;
}

const std::vector<std::string>& CHorizontalSelector::GetItems() const
{
    return items_;
}

void CHorizontalSelector::SetSelectedIndex(std::int32_t index)
{
    const std::int32_t last =
        static_cast<std::int32_t>(std::min<std::size_t>(items_.size(), std::numeric_limits<std::int32_t>::max())) - 1;
    std::int32_t v = std::min(index, last);
    if (v <= -1) {
        v = -1;
    }
    if (v == selectedIndex_) {
        return;
    }
    selectedIndex_ = v;
    if (SelectionChangedEvent) {
        SelectionChangedEvent(this);
    }
}

std::int32_t CHorizontalSelector::GetSelectedIndex() const
{
    const std::int32_t last =
        static_cast<std::int32_t>(std::min<std::size_t>(items_.size(), std::numeric_limits<std::int32_t>::max())) - 1;
    return std::min(last, selectedIndex_);
}

void CHorizontalSelector::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

const canvas::CFont& CHorizontalSelector::GetFont() const
{
    return font_;
}

void CHorizontalSelector::StepBack()
{
    SetSelectedIndex(std::max(GetSelectedIndex() - 1, 0));
}

void CHorizontalSelector::StepForward()
{
    const std::int32_t selected = GetSelectedIndex();
    SetSelectedIndex(selected == std::numeric_limits<std::int32_t>::max() ? selected : selected + 1);
}

void CHorizontalSelector::OnKeyDown(unsigned int key)
{
    switch (key & 0xFFFFu) {
    case VK_LEFT:
    case VK_UP:
        StepBack();
        break;
    case VK_RIGHT:
    case VK_DOWN:
        StepForward();
        break;
    default:
        break;
    }
    CControl::OnKeyDown(key);
}

void CHorizontalSelector::OnMouseDown(const Vector2<float>& point, int button)
{
    const float w = GetSize().x;
    if (point.x < w / 3.0f) {
        StepBack();
    } else if (point.x > 2.0f * w / 3.0f) {
        StepForward();
    }
    CControl::OnMouseDown(point, button);
}

bool CHorizontalSelector::OnMouseWheel(const Vector2<float>& point, float delta)
{
    if (MouseWheelEvent && MouseWheelEvent(this, delta)) {
        return true;
    }
    if (delta > 0.0f) {
        StepForward();
    } else {
        StepBack();
    }
    return true;
}

void CHorizontalSelector::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !GetAppearance()) {
        return;
    }
    CControl::Draw(canvas);
    // A failed draw leaves the canvas's stacks as it found them (a missing font, say).
    const CCanvasDepthGuard guard(*canvas);
    canvas->PushFont();
    canvas->PushBrush();
    canvas->SetFont(font_);
    canvas->GetBrush().SetColor(GetColor());
    const Vector2<float> size = GetSize();
    const canvas::Rect2f bounds(0.0f, 0.0f, size.x, size.y);
    const std::int32_t selected = GetSelectedIndex();
    const std::int32_t count =
        static_cast<std::int32_t>(std::min<std::size_t>(items_.size(), std::numeric_limits<std::int32_t>::max()));

    const Vector2<float> left = canvas->MeasureText("<");
    canvas->PushBrush();
    if (selected <= 0) {
        canvas->GetBrush().SetColor(kFadedMarker);
    }
    canvas->DrawText(Vector2<float>(6.0f, std::floor((size.y - left.y) * 0.5f)), "<");
    canvas->PopBrush();

    const Vector2<float> right = canvas->MeasureText(">");
    canvas->PushBrush();
    if (selected >= count - 1) {
        canvas->GetBrush().SetColor(kFadedMarker);
    }
    canvas->DrawText(Vector2<float>(size.x - right.x - 6.0f, std::floor((size.y - right.y) * 0.5f)), ">");
    canvas->PopBrush();

    const bool editing = IsLayoutEditMode();
    if (selected >= 0 || editing) {
        const std::string& text = editing ? GetName() : items_[static_cast<std::size_t>(selected)];
        const Vector2<float> measured = canvas->MeasureText(text);
        const canvas::Rect2f r(std::floor((size.x - measured.x) * 0.5f), std::floor((size.y - measured.y) * 0.5f),
                               measured.x, measured.y);
        canvas->DrawTextClipped(canvas::Rect2f::Intersect(r, bounds), text);
    }
    canvas->PopBrush();
    canvas->PopFont();
}

} // namespace korvane::mwt
