/** @file ComboBox.h A text box with a drop button: the data its appearances read. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// Holds its text, the text's font, the button and caret states; it takes no input of its own.
class CComboBox : public CControl
{
public:
    explicit CComboBox(const std::string& name = std::string());
    ~CComboBox() override;

    /// The text shown in the box (separate from CControl's generic text).
    const std::string& GetText() const override;
    void SetText(const std::string& text) override;
    virtual const canvas::CFont& GetTextFont() const;
    /// Copies the font's name.
    virtual void SetTextFont(const canvas::CFont& font);
    virtual bool IsButtonDown() const;
    virtual void SetButtonDown(bool down);
    virtual bool IsCaretVisible() const;
    virtual void SetCaretVisible(bool visible);
    /// Characters before the caret, as set: the appearances clamp it to the text.
    virtual std::int32_t GetCaretPosition() const;
    virtual void SetCaretPosition(std::int32_t position);

private:
    canvas::CFont textFont_;
    bool buttonDown_ = false;
    bool caretVisible_ = false;
    std::int32_t caretPosition_ = 0;
};

} // namespace korvane::mwt
