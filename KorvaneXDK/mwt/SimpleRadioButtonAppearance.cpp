/** @file SimpleRadioButtonAppearance.cpp The plain radio button. */
#include "KorvaneXDK/mwt/SimpleRadioButtonAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/CaptionDrawing.h"
#include "KorvaneXDK/mwt/TwoStateDrawing.h"

namespace korvane::mwt
{

CSimpleRadioButtonAppearance::CSimpleRadioButtonAppearance() : TControlAppearance<CRadioButton>("SimpleRadioButton") {}

CSimpleRadioButtonAppearance::~CSimpleRadioButtonAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleRadioButtonAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleRadioButtonAppearance());
}

void CSimpleRadioButtonAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CRadioButton* radio = CastControl(control);
    const float h = radio->GetSize().y;
    const canvas::Rect2f box(1.0f, 1.0f, h - 2.0f, h - 2.0f);
    FillPressTint(radio, canvas, canvas::Rect2f(3.0f, 3.0f, h - 6.0f, h - 6.0f), radio->IsPressed());

    const float t = box.height / 3.0f - 1.0f;
    const float y2 = box.top + (box.height + box.height) / 3.0f + 1.0f;
    const float right = box.left + box.width - 1.0f;
    const canvas::Rect2f strips[] = {
        canvas::Rect2f(box.left, box.top, box.width, 1.0f),
        canvas::Rect2f(box.left, box.top + box.height - 1.0f, box.width, 1.0f),
        canvas::Rect2f(box.left, box.top, 1.0f, t),
        canvas::Rect2f(right, box.top, 1.0f, t),
        canvas::Rect2f(box.left, y2, 1.0f, t),
        canvas::Rect2f(right, y2, 1.0f, t),
    };
    canvas->PushBrush();
    canvas->GetBrush().SetColor(radio->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    for (const canvas::Rect2f& strip : strips) {
        canvas->FillRect(strip);
    }
    canvas->PopBrush();

    if (radio->IsChecked()) {
        FillAdditive(radio, canvas, canvas::Rect2f(4.0f, 4.0f, h - 8.0f, h - 8.0f));
    }
    DrawTwoStateCaption(radio, canvas, radio->GetCaption(), radio->GetFont(), 1.0f + 1.5f * (h - 2.0f));
}

} // namespace korvane::mwt
