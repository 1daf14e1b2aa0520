/** @file TwoStateControl.h The data shared by the check box and the radio button. */
#pragma once

#include <string>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Holds its caption, the caption's font and the pressed and checked states; it takes no input
/// of its own. The check box and the radio button differ only in the appearance they copy.
class CTwoStateControl : public CControl
{
public:
    explicit CTwoStateControl(const std::string& name);
    ~CTwoStateControl() override;

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
