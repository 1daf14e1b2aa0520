/** @file ComboBoxDrawing.cpp The combo boxes' shared drawing. */
#include "KorvaneXDK/mwt/ComboBoxDrawing.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/ComboBox.h"

namespace korvane::mwt
{

void DrawButtonDot(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& button)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->FillRect(
        canvas::Rect2f(button.left + button.width * 0.5f - 1.0f, button.top + button.height * 0.5f - 1.0f, 2.0f, 2.0f));
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->PopBrush();
}

void DrawComboBoxText(CComboBox* combo, canvas::CCanvas* canvas, canvas::Rect2f textRect)
{
    const std::string& text = combo->GetText();
    canvas->PushFont();
    canvas->PushBrush();
    canvas->SetFont(combo->GetTextFont());
    canvas->GetBrush().SetColor(combo->GetColor());
    const Vector2<float> textSize = canvas->MeasureText(text);
    const float height = combo->GetSize().y;
    const float q = static_cast<float>(canvas::SaturateToInt32(height - textSize.y) / 2);
    textRect.top = q;
    if (combo->IsFocused() && combo->IsCaretVisible()) {
        const std::int32_t position =
            std::clamp<std::int32_t>(combo->GetCaretPosition(), 0, static_cast<std::int32_t>(text.size()));
        const Vector2<float> before = canvas->MeasureText(text.substr(0, static_cast<std::size_t>(position)));
        canvas->FillRect(canvas::Rect2f(4.0f + before.x, q, 2.0f, before.y));
    }
    canvas->DrawTextClipped(textRect, text);
    canvas->PopBrush();
    canvas->PopFont();
}

} // namespace korvane::mwt
