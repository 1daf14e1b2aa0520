/** @file SolidColorAppearance.cpp The appearance that fills the control with its colour. */
#include "KorvaneXDK/mwt/SolidColorAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

CSolidColorAppearance::CSolidColorAppearance() : TControlAppearance<CControl>("SolidColor") {}

CSolidColorAppearance::~CSolidColorAppearance() = default;

boost::shared_ptr<IControlAppearance> CSolidColorAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSolidColorAppearance());
}

void CSolidColorAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    const Vector2<float> size = target->GetSize();
    canvas->GetBrush().SetColor(target->GetColor());
    canvas->FillRect(canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
}

} // namespace korvane::mwt
