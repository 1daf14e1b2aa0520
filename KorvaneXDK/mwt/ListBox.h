/** @file ListBox.h A vertical list of text items with one selection, scrolled by whole items. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/function.hpp>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Items sit one below the other in the inner rectangle (the control inset on every side),
/// each one item height high; topIndex is the first one shown. The selection may be -1 (none)
/// and is read back clamped to the items there are. Keys: up and down move by one item, page
/// up / left and page down / right by a page keeping the selection's row; the key-down handler
/// always follows. The pointer selects the item under it while any button is held and scrolls
/// by one item per move while it is above or below the items. The selected item pulses in
/// orange once a second. Main thread only.
class CListBox : public CControl
{
public:
    using ListBoxHandler = boost::function<void(CListBox*)>;
    /// list, canvas, item index, item rectangle.
    using DrawItemHandler = boost::function<void(CListBox*, canvas::CCanvas*, std::int32_t, const canvas::Rect2f&)>;

    /// Copies the default list-box appearance factory (CDefaultFactories) as it is now.
    explicit CListBox(const std::string& name = std::string());
    ~CListBox() override;

    void Draw(canvas::CCanvas* canvas) override;
    void OnMouseDown(const Vector2<float>& point, int button) override;
    void OnMouseUp(const Vector2<float>& point, int button) override;
    void OnMouseMove(const Vector2<float>& point, int buttons) override;
    void OnWindowDeactivate() override;
    void OnKeyDown(unsigned int key) override;

    /// Edited directly; editing fires nothing and leaves topIndex as it is.
    virtual std::vector<std::string>& GetItems();
    virtual const std::vector<std::string>& GetItems() const;
    /// Clamped to [0, count - visible count]; fires nothing.
    virtual void SetTopIndex(std::int32_t index);
    virtual std::int32_t GetTopIndex() const;
    /// Clamped to [-1, count - 1]; a change is stored, scrolled into view and reported.
    virtual void SetSelectedIndex(std::int32_t index);
    /// The stored selection, at most count - 1.
    virtual std::int32_t GetSelectedIndex() const;
    /// Whole items in the inner height; 0 when the item height is not above 0 or not finite,
    /// or the inner height is negative.
    virtual std::int32_t GetVisibleItemCount() const;
    /// Items kept visible beyond the selection when scrolling to it.
    virtual void SetScrollMargin(std::int32_t margin);
    virtual std::int32_t GetScrollMargin() const;
    virtual canvas::Rect2f GetItemRect(std::int32_t index) const;
    /// The row under the point among the visible rows (half-open), -1 for none. A row below
    /// the last item still answers its index, which SetSelectedIndex clamps to the last item.
    virtual std::int32_t GetItemAt(const Vector2<float>& point) const;
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    virtual const canvas::CFont& GetFont() const;
    virtual void SetInset(std::int32_t inset);
    virtual std::int32_t GetInset() const;
    /// Highlights the item under the pointer.
    virtual void SetHotTrack(bool hotTrack);
    virtual bool IsHotTrack() const;
    /// Items are drawn by DrawItemEvent instead.
    virtual void SetOwnerDraw(bool ownerDraw);
    virtual bool IsOwnerDraw() const;
    /// True (the default): the item height is the font's height.
    virtual void SetItemHeightFromFont(bool fromFont);
    virtual bool IsItemHeightFromFont() const;
    virtual void SetItemHeight(std::int32_t height);
    virtual std::int32_t GetItemHeight() const;

    /// The item under the pointer while hot tracking, else -1.
    std::int32_t GetHoverIndex() const { return hoverIndex_; }
    canvas::Rect2f GetInnerRect() const;

    // The front end's names for the same settings.
    std::int32_t GetVisibleCount() const { return GetVisibleItemCount(); }
    void SetPadding(std::int32_t inset) { SetInset(inset); }
    void SetHoverHighlight(bool hotTrack) { SetHotTrack(hotTrack); }

    ListBoxHandler SelectionChangedEvent;
    /// After scrolling to the selection or toward the pointer, even when the clamp kept topIndex.
    ListBoxHandler ScrolledEvent;
    DrawItemHandler DrawItemEvent;

private:
    float GetEffectiveItemHeight() const;
    std::int32_t GetCount() const;
    /// SetTopIndex for a value computed wider than 32 bits.
    void SetTopIndexClamped(std::int64_t index);
    void ScrollToSelection();
    void ScrollTowardPointer(float y);
    void SelectAt(const Vector2<float>& point);

    std::vector<std::string> items_;
    std::int32_t topIndex_ = 0;
    std::int32_t selectedIndex_ = -1;
    std::int32_t scrollMargin_ = 0;
    canvas::CFont font_;
    std::int32_t inset_ = 4;
    bool hotTrack_ = false;
    std::int32_t hoverIndex_ = -1;
    bool ownerDraw_ = false;
    bool itemHeightFromFont_ = true;
    std::int32_t itemHeight_ = 32;
    bool pressed_ = false;
};

} // namespace korvane::mwt
