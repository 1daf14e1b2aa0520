/** @file Label.h A control that shows one line of text. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/canvas/Font.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

/// An undocked auto-size label (the default) takes its text's measured size in its font at
/// SetCaption and at every draw; otherwise the text is placed in the label's size by the text
/// alignment (0 left, 1 centre, 2 right) and the vertical alignment (0 top, 1 middle, 2
/// bottom); other values act as 0. Drawn clipped in the label's colour and blend mode.
class CLabel : public CControl
{
public:
    static constexpr std::int32_t kAlignNear = 0;
    static constexpr std::int32_t kAlignCenter = 1;
    static constexpr std::int32_t kAlignFar = 2;

    explicit CLabel(const std::string& name = std::string());
    ~CLabel() override;

    /// Nothing when invisible or without an appearance; the control, then the caption.
    void Draw(canvas::CCanvas* canvas) override;

    /// Stores; an undocked auto-size label then takes the caption's measured size.
    virtual void SetCaption(const std::string& caption);
    virtual const std::string& GetCaption() const;
    /// Stores only.
    virtual void SetAutoSize(bool autoSize);
    virtual bool IsAutoSize() const;
    virtual void SetTextAlignment(std::int32_t alignment);
    virtual std::int32_t GetTextAlignment() const;
    virtual void SetVerticalAlignment(std::int32_t alignment);
    virtual std::int32_t GetVerticalAlignment() const;
    /// Copies the font's name; does not resize.
    virtual void SetFont(const canvas::CFont& font);
    virtual canvas::CFont& GetFont();

private:
    bool SizesItself() const;

    std::string caption_;
    bool autoSize_ = true;
    std::int32_t textAlignment_ = kAlignNear;
    std::int32_t verticalAlignment_ = kAlignNear;
    canvas::CFont font_;
};

} // namespace korvane::mwt
