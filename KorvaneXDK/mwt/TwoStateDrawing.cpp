/** @file TwoStateDrawing.cpp Fills of the simple two-state appearances. */
#include "KorvaneXDK/mwt/TwoStateDrawing.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

void FillPressTint(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect, bool pressed)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, pressed ? 0.8f : 0.2f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(rect);
    canvas->PopBrush();
    canvas->PopBrush();
}

void FillAdditive(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->FillRect(rect);
    canvas->PopBrush();
}

} // namespace korvane::mwt
