/** @file SimpleButtonAppearance.cpp The plain button body. */
#include "KorvaneXDK/mwt/SimpleButtonAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

CSimpleButtonAppearance::CSimpleButtonAppearance() : TControlAppearance<CButton>("SimpleButton") {}

CSimpleButtonAppearance::~CSimpleButtonAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleButtonAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleButtonAppearance());
}

void CSimpleButtonAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    const CButton* button = CastControl(control);
    if (!button->IsBodyVisible()) {
        return;
    }
    const Vector2<float> size = button->GetSize();
    const canvas::Rect2f inner(1.0f, 1.0f, size.x - 2.0f, size.y - 2.0f);
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, button->IsPressed() ? 0.8f : 0.2f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(button->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(inner);
    canvas->PopBrush();
    canvas->PopBrush();
    canvas::CBrush& brush = canvas->GetBrush();
    brush.SetColor(button->GetColor());
    brush.SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(inner);
    brush.SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace korvane::mwt
