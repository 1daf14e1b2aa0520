/** @file Label.cpp The text control. */
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"

#include <cstddef>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"

namespace korvane::mwt
{
namespace
{

/// Where the text starts and how much room it has along one axis: a centred text that does not
/// fit starts at half its overhang, truncated toward zero.
void Place(std::int32_t alignment, float room, float extent, float& start, float& length)
{
    if (alignment == CLabel::kAlignCenter) {
        start = static_cast<float>(canvas::SaturateToInt32(static_cast<double>(room - extent)) / 2);
        length = extent;
    } else if (alignment == CLabel::kAlignFar) {
        start = room - extent;
        length = room - start;
    } else {
        start = 0.0f;
        length = room;
    }
}

} // namespace

CLabel::CLabel(const std::string& name) : CControl(name) {}

CLabel::~CLabel() = default;

bool CLabel::SizesItself() const
{
    return autoSize_ && GetDock() == kDockNone;
}

void CLabel::Draw(canvas::CCanvas* canvas)
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
    canvas::Rect2f r;
    const Vector2<float> text = canvas->MeasureText(caption_);
    if (SizesItself()) {
        SetSize(text);
        r = canvas::Rect2f(0.0f, 0.0f, GetSize().x, GetSize().y);
    } else {
        const Vector2<float> size = GetSize();
        Place(textAlignment_, size.x, text.x, r.left, r.width);
        // The vertical placement keeps the rest of the height below the text's top.
        float unusedHeight = 0.0f;
        Place(verticalAlignment_, size.y, text.y, r.top, unusedHeight);
        r.height = size.y - r.top;
    }
    canvas->GetBrush().SetColor(GetColor());
    canvas->GetBrush().SetBlendMode(GetBlendMode());
    canvas->DrawTextClipped(r, caption_);
    canvas->PopBrush();
    canvas->PopFont();
}

void CLabel::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (SizesItself()) {
        SetSize(font_.MeasureText(caption_));
    }
}

const std::string& CLabel::GetCaption() const
{
    return caption_;
}

void CLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
}

bool CLabel::IsAutoSize() const
{
    return autoSize_;
}

void CLabel::SetTextAlignment(std::int32_t alignment)
{
    textAlignment_ = alignment;
}

std::int32_t CLabel::GetTextAlignment() const
{
    return textAlignment_;
}

void CLabel::SetVerticalAlignment(std::int32_t alignment)
{
    verticalAlignment_ = alignment;
}

std::int32_t CLabel::GetVerticalAlignment() const
{
    return verticalAlignment_;
}

void CLabel::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

canvas::CFont& CLabel::GetFont()
{
    return font_;
}

} // namespace korvane::mwt
