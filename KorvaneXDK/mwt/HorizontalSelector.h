/** @file HorizontalSelector.h The option row of the settings screens: "<" option ">", stepped by keys, clicks and the wheel. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/function.hpp>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Steps never wrap: the ends stop them, and the marker on a side that cannot step further is
/// drawn at a fifth of its opacity. Left and up step back, right and down forward (the key-down
/// handler follows every key); a press on the left third steps back, on the right third forward
/// (the borders themselves belong to the middle third, which does nothing); the wheel steps
/// forward for a positive delta and back otherwise, unless the wheel handler takes it. The
/// stored selection starts at 0 even with no items. Main thread only.
class CHorizontalSelector : public CControl
{
public:
    using SelectorHandler = boost::function<void(CHorizontalSelector*)>;

    /// Copies the default horizontal-selector appearance factory (CDefaultFactories) as it is now.
    explicit CHorizontalSelector(const std::string& name = std::string());
    ~CHorizontalSelector() override;

    /// Markers, then the option centred and clipped to the control (the name in layout edit mode).
    void Draw(canvas::CCanvas* canvas) override;
    void OnMouseDown(const Vector2<float>& point, int button) override;
    /// Always true: the selector keeps the wheel.
    bool OnMouseWheel(const Vector2<float>& point, float delta) override;
    void OnKeyDown(unsigned int key) override;

    /// Edited directly; editing fires nothing.
    virtual std::vector<std::string>& GetItems();
    virtual const std::vector<std::string>& GetItems() const;
    /// Clamped to [-1, count - 1]; a change is stored and reported.
    virtual void SetSelectedIndex(std::int32_t index);
    /// The stored selection, at most count - 1.
    virtual std::int32_t GetSelectedIndex() const;
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    virtual const canvas::CFont& GetFont() const;

    SelectorHandler SelectionChangedEvent;

private:
    void StepBack();
    void StepForward();

    std::vector<std::string> items_;
    std::int32_t selectedIndex_ = 0;
    canvas::CFont font_;
};

} // namespace korvane::mwt
