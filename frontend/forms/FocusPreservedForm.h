/** @file FocusPreservedForm.h Menus that reopen with the control that had the focus when they closed. */
#pragma once

#include <cstddef>
#include <cstdint>

#include <boost/pointer_cast.hpp>

#include "KorvaneXDK/mwt/Control.h"

/// One remembered child position per instantiation (every menu class its own). A menu entered
/// afresh calls ResetFocusIndex first and opens on its default button.
template <typename Design>
class TFocusPreservedForm : public Design
{
public:
    using Design::Design;

    /// Forgets the remembered position.
    static void ResetFocusIndex() { s_focusIndex = -1; }
    static std::int32_t GetFocusIndex() { return s_focusIndex; }

    /// Opens (the opened handler sets the default focus), then focuses the remembered child
    /// when there is one that can take the focus.
    void Open() override
    {
        Design::Open();
        if (s_focusIndex < 0) {
            return;
        }
        const auto& children = this->GetControls();
        const auto index = static_cast<std::size_t>(s_focusIndex);
        if (index >= children.size()) {
            return;
        }
        if (const auto control = boost::dynamic_pointer_cast<korvane::mwt::CControl>(children[index])) {
            control->SetFocus();
        }
    }

    /// Remembers the focused child's position, then closes.
    void Close() override
    {
        const auto focused = this->GetFocusedControl();
        const auto& children = this->GetControls();
        for (std::size_t i = 0; focused && i < children.size(); ++i) {
            if (children[i].get() == focused.get()) {
                s_focusIndex = static_cast<std::int32_t>(i);
                break;
            }
        }
        Design::Close();
    }

private:
    static inline std::int32_t s_focusIndex = -1;
};
