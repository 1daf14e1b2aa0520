/** @file RadioButton.h A two-state control with a caption: the data its appearances read. */
#pragma once

#include <string>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Holds its caption, the caption's font and the pressed and checked states; it takes no input
/// of its own.
class CRadioButton : public CControl
{
public:
    explicit CRadioButton(const std::string& name = std::string());
    ~CRadioButton() override;

    virtual const std::string& GetCaption() const;
    virtual void SetCaption(const std::string& caption);
    virtual const canvas::CFont& GetFont() const;
    /// Copies the font's name.
    virtual void SetFont(const canvas::CFont& font);
    /// Held down by the pointer.
    virtual bool IsPressed() const;
    virtual void SetPressed(bool pressed);
    virtual bool IsChecked() const;
    virtual void SetChecked(bool checked);

private:
    std::string caption_;
    canvas::CFont font_;
    bool pressed_ = false;
    bool checked_ = false;
};

} // namespace korvane::mwt
