/** @file FillSimpleBox.cpp The simple value appearances' box. */
#include "KorvaneXDK/mwt/FillSimpleBox.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

void FillSimpleBox(const CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect, bool highlighted)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, highlighted ? 0.8f : 0.2f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(canvas::Rect2f(rect.left + 1.0f, rect.top + 1.0f, rect.width - 2.0f, rect.height - 2.0f));
    canvas->PopBrush();
    canvas->PopBrush();
}

} // namespace korvane::mwt
