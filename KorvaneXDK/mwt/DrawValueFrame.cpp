/** @file DrawValueFrame.cpp The simple value appearances' outline. */
#include "KorvaneXDK/mwt/DrawValueFrame.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/Control.h"

namespace korvane::mwt
{

void DrawValueFrame(const CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& rect)
{
    canvas::CBrush& brush = canvas->GetBrush();
    brush.SetColor(control->GetColor());
    brush.SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(canvas::Rect2f(rect.left + 1.0f, rect.top + 1.0f, rect.width - 2.0f, rect.height - 2.0f));
    brush.SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace korvane::mwt
