/** @file CaptionDrawing.cpp The two-state controls' caption. */
#include "KorvaneXDK/mwt/CaptionDrawing.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

void DrawTwoStateCaption(CControl* control, canvas::CCanvas* canvas, const std::string& caption,
                         const canvas::CFont& font, float x0)
{
    canvas->PushFont();
    canvas->PushBrush();
    canvas->SetFont(font);
    const Vector2<float> textSize = canvas->MeasureText(caption);
    const float height = control->GetSize().y;
    const float y = static_cast<float>(canvas::SaturateToInt32(height - textSize.y) / 2);
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->DrawTextClipped(canvas::Rect2f(x0, y, textSize.x, height), caption);
    canvas->PopBrush();
    canvas->PopFont();
}

} // namespace korvane::mwt
