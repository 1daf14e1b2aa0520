/** @file SimpleCheckBoxAppearance.cpp The plain check box. */
#include "KorvaneXDK/mwt/SimpleCheckBoxAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/CaptionDrawing.h"
#include "KorvaneXDK/mwt/TwoStateDrawing.h"

namespace korvane::mwt
{

CSimpleCheckBoxAppearance::CSimpleCheckBoxAppearance() : TControlAppearance<CCheckBox>("SimpleCheckBox") {}

CSimpleCheckBoxAppearance::~CSimpleCheckBoxAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleCheckBoxAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleCheckBoxAppearance());
}

void CSimpleCheckBoxAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CCheckBox* box = CastControl(control);
    const float h = box->GetSize().y;
    const canvas::Rect2f square(1.0f, 1.0f, h - 2.0f, h - 2.0f);
    FillPressTint(box, canvas, square, box->IsPressed());
    canvas->PushBrush();
    canvas->GetBrush().SetColor(box->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(square);
    canvas->PopBrush();
    if (box->IsChecked()) {
        FillAdditive(box, canvas, canvas::Rect2f(4.0f, 4.0f, h - 8.0f, h - 8.0f));
    }
    DrawTwoStateCaption(box, canvas, box->GetCaption(), box->GetFont(), square.left + 1.5f * square.width);
}

} // namespace korvane::mwt
