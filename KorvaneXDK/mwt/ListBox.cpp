/** @file ListBox.cpp The list box's selection, scrolling, pointer, keys and drawing. */
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
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

std::int32_t ClampToInt32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

CListBox::CListBox(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::ListBoxAppearance;
}

CListBox::~CListBox() = default;

std::int32_t CListBox::GetCount() const
{
    return ClampToInt32(static_cast<std::int64_t>(items_.size()));
}

canvas::Rect2f CListBox::GetInnerRect() const
{
    const float p = static_cast<float>(inset_);
    const Vector2<float> size = GetSize();
    return canvas::Rect2f(p, p, size.x - 2.0f * p, size.y - 2.0f * p);
}

float CListBox::GetEffectiveItemHeight() const
{
    return itemHeightFromFont_ ? font_.GetHeight(std::string()) : static_cast<float>(itemHeight_);
}

std::int32_t CListBox::GetVisibleItemCount() const
{
    const float innerHeight = GetInnerRect().height;
    const float itemHeight = GetEffectiveItemHeight();
    // A zero or broken item height would otherwise make every row loop run for ever.
    if (!(itemHeight > 0.0f) || !std::isfinite(itemHeight) || !(innerHeight >= 0.0f)) {
        return 0;
    }
    return canvas::SaturateToInt32(static_cast<double>(innerHeight / itemHeight));
}

std::vector<std::string>& CListBox::GetItems()
{
    return items_;
}

const std::vector<std::string>& CListBox::GetItems() const
{
    return items_;
}

void CListBox::SetTopIndex(std::int32_t index)
{
    SetTopIndexClamped(index);
}

void CListBox::SetTopIndexClamped(std::int64_t index)
{
    const std::int64_t last = static_cast<std::int64_t>(GetCount()) - GetVisibleItemCount();
    const std::int64_t top = std::min(index, last);
    topIndex_ = top > 0 ? ClampToInt32(top) : 0;
}

std::int32_t CListBox::GetTopIndex() const
{
    return topIndex_;
}

void CListBox::SetSelectedIndex(std::int32_t index)
{
    std::int32_t v = std::min(index, GetCount() - 1);
    if (v <= -1) {
        v = -1;
    }
    if (v == selectedIndex_) {
        return;
    }
    selectedIndex_ = v;
    ScrollToSelection();
    if (SelectionChangedEvent) {
        SelectionChangedEvent(this);
    }
}

std::int32_t CListBox::GetSelectedIndex() const
{
    return std::min(GetCount() - 1, selectedIndex_);
}

void CListBox::ScrollToSelection()
{
    const std::int64_t s = std::max(GetSelectedIndex(), 0);
    const std::int64_t m = scrollMargin_;
    const std::int64_t v = GetVisibleItemCount();
    if (s < topIndex_ + m) {
        SetTopIndexClamped(s - m);
    } else if (s >= topIndex_ - m + v) {
        SetTopIndexClamped(s - v + m + 1);
    } else {
        return;
    }
    if (ScrolledEvent) {
        ScrolledEvent(this);
    }
}

void CListBox::ScrollTowardPointer(float y)
{
    const canvas::Rect2f inner = GetInnerRect();
    if (y < inner.top) {
        SetTopIndexClamped(static_cast<std::int64_t>(topIndex_) - 1);
    } else if (y >= inner.top + inner.height) {
        SetTopIndexClamped(static_cast<std::int64_t>(topIndex_) + 1);
    } else {
        return;
    }
    if (ScrolledEvent) {
        ScrolledEvent(this);
    }
}

void CListBox::SetScrollMargin(std::int32_t margin)
{
    scrollMargin_ = margin;
}

std::int32_t CListBox::GetScrollMargin() const
{
    return scrollMargin_;
}

canvas::Rect2f CListBox::GetItemRect(std::int32_t index) const
{
    const canvas::Rect2f inner = GetInnerRect();
    const float h = GetEffectiveItemHeight();
    const float row = static_cast<float>(static_cast<std::int64_t>(index) - topIndex_);
    return canvas::Rect2f(inner.left, inner.top + h * row, inner.width, h);
}

std::int32_t CListBox::GetItemAt(const Vector2<float>& point) const
{
    const std::int64_t visible = GetVisibleItemCount();
    if (visible <= 0) {
        return -1;
    }
    // Rows are stacked without gaps, so only the row the division names and its two neighbours
    // (for rounding) can hold the point; the lowest of them that does wins, as a scan from the
    // top would find.
    const canvas::Rect2f inner = GetInnerRect();
    const double guess = std::floor(static_cast<double>(point.y - inner.top) / GetEffectiveItemHeight());
    if (!(guess >= -1.0) || !(guess <= static_cast<double>(visible))) {
        return -1;
    }
    const std::int64_t row = static_cast<std::int64_t>(guess);
    for (std::int64_t r = std::max<std::int64_t>(row - 1, 0); r <= std::min(row + 1, visible - 1); ++r) {
        const std::int64_t index = topIndex_ + r;
        if (index > std::numeric_limits<std::int32_t>::max()) {
            break;
        }
        if (GetItemRect(static_cast<std::int32_t>(index)).Contains(point)) {
            return static_cast<std::int32_t>(index);
        }
    }
    return -1;
}

void CListBox::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

const canvas::CFont& CListBox::GetFont() const
{
    return font_;
}

void CListBox::SetInset(std::int32_t inset)
{
    inset_ = inset;
}

std::int32_t CListBox::GetInset() const
{
    return inset_;
}

void CListBox::SetHotTrack(bool hotTrack)
{
    hotTrack_ = hotTrack;
}

bool CListBox::IsHotTrack() const
{
    return hotTrack_;
}

void CListBox::SetOwnerDraw(bool ownerDraw)
{
    ownerDraw_ = ownerDraw;
}

bool CListBox::IsOwnerDraw() const
{
    return ownerDraw_;
}

void CListBox::SetItemHeightFromFont(bool fromFont)
{
    itemHeightFromFont_ = fromFont;
}

bool CListBox::IsItemHeightFromFont() const
{
    return itemHeightFromFont_;
}

void CListBox::SetItemHeight(std::int32_t height)
{
    itemHeight_ = height;
}

std::int32_t CListBox::GetItemHeight() const
{
    return itemHeight_;
}

void CListBox::SelectAt(const Vector2<float>& point)
{
    const std::int32_t index = GetItemAt(point);
    if (index >= 0) {
        SetSelectedIndex(index);
    }
}

void CListBox::OnMouseDown(const Vector2<float>& point, int button)
{
    pressed_ = true;
    SelectAt(point);
    CControl::OnMouseDown(point, button);
}

void CListBox::OnMouseUp(const Vector2<float>& point, int button)
{
    if (pressed_) {
        SelectAt(point);
    }
    pressed_ = false;
    CControl::OnMouseUp(point, button);
}

void CListBox::OnMouseMove(const Vector2<float>& point, int buttons)
{
    if (pressed_) {
        SelectAt(point);
        ScrollTowardPointer(point.y);
    }
    if (hotTrack_) {
        hoverIndex_ = GetItemAt(point);
    }
    CControl::OnMouseMove(point, buttons);
}

void CListBox::OnWindowDeactivate()
{
    pressed_ = false;
    CControl::OnWindowDeactivate();
}

void CListBox::OnKeyDown(unsigned int key)
{
    const unsigned int code = key & 0xFFFFu;
    const std::int64_t sel = GetSelectedIndex();
    const std::int64_t v = GetVisibleItemCount();
    const auto page = [this, sel](std::int64_t target) {
        const std::int64_t row = sel - topIndex_;
        SetSelectedIndex(ClampToInt32(target));
        SetTopIndexClamped(GetSelectedIndex() - row);
        ScrollToSelection();
    };
    switch (code) {
    case VK_UP:
        SetSelectedIndex(ClampToInt32(std::max<std::int64_t>(sel - 1, 0)));
        break;
    case VK_DOWN:
        SetSelectedIndex(ClampToInt32(sel + 1));
        break;
    case VK_PRIOR:
    case VK_LEFT:
        page(std::max<std::int64_t>(sel - v, 0));
        break;
    case VK_NEXT:
    case VK_RIGHT:
        page(sel + v);
        break;
    default:
        break;
    }
    CControl::OnKeyDown(key);
}

void CListBox::Draw(canvas::CCanvas* canvas)
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
    const std::int32_t visible = GetVisibleItemCount();
    const std::int32_t count = GetCount();
    const std::int32_t selected = GetSelectedIndex();
    for (std::int32_t row = 0; row < visible; ++row) {
        const std::int64_t index = static_cast<std::int64_t>(topIndex_) + row;
        if (index >= count) {
            break;
        }
        const std::int32_t i = static_cast<std::int32_t>(index);
        const canvas::Rect2f rect = GetItemRect(i);
        if (ownerDraw_ && DrawItemEvent) {
            DrawItemEvent(this, canvas, i, rect);
            continue;
        }
        if (i == selected) {
            constexpr double kTwoPi = 6.283185307179586;
            const double t = canvas->GetElapsedMilliseconds();
            const float alpha = static_cast<float>(0.2 + 0.5 * (0.5 + 0.5 * std::sin(kTwoPi * t / 1000.0)));
            canvas->PushBrush();
            canvas->GetBrush().SetColor(Color4<float>(1.0f, 0.5f, 0.0f, alpha));
            canvas->FillRect(rect);
            canvas->PopBrush();
        } else if (hotTrack_ && i == hoverIndex_) {
            canvas->PushBrush();
            canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.2f));
            canvas->FillRect(rect);
            canvas->PopBrush();
        }
        canvas->DrawTextClipped(rect, items_[static_cast<std::size_t>(i)]);
    }
    canvas->PopBrush();
    canvas->PopFont();
}

} // namespace korvane::mwt
