/** @file SimpleTrackBarAppearance.cpp The plain track bar. */
#include "KorvaneXDK/mwt/SimpleTrackBarAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/DrawValueFrame.h"
#include "KorvaneXDK/mwt/FillSimpleBox.h"

namespace korvane::mwt
{

CSimpleTrackBarAppearance::CSimpleTrackBarAppearance() : TControlAppearance<CTrackBar>("SimpleTrackBar") {}

CSimpleTrackBarAppearance::~CSimpleTrackBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleTrackBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleTrackBarAppearance());
}

void CSimpleTrackBarAppearance::Layout(CControl* control)
{
    CTrackBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    bar->SetTrackRect(canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
    bar->SetButtonSize(bar->GetOrientation() == CTrackBar::kHorizontal ? size.y * 0.5f : size.x * 0.5f);
}

void CSimpleTrackBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CTrackBar* bar = CastControl(control);
    const bool horizontal = bar->GetOrientation() == CTrackBar::kHorizontal;
    const auto strip = [horizontal](const canvas::Rect2f& r) {
        return horizontal ? canvas::Rect2f(r.left, r.top + r.height / 3.0f, r.width, r.height / 3.0f)
                          : canvas::Rect2f(r.left + r.width / 3.0f, r.top, r.width / 3.0f, r.height);
    };
    const auto pressed = [bar](std::int32_t part) { return bar->IsPressed() && bar->GetPressedPart() == part; };
    FillSimpleBox(bar, canvas, strip(bar->GetFirstAreaRect()), pressed(CTrackBar::kPartFirstArea));
    FillSimpleBox(bar, canvas, strip(bar->GetSecondAreaRect()), pressed(CTrackBar::kPartSecondArea));

    const canvas::Rect2f b = bar->GetButtonRect();
    DrawValueFrame(bar, canvas, b);
    FillSimpleBox(bar, canvas, b, pressed(CTrackBar::kPartButton));

    const Vector2<float> grip =
        horizontal ? Vector2<float>(2.0f, b.height * 0.3f) : Vector2<float>(b.width * 0.3f, 2.0f);
    const Vector2<float> centre(b.left + b.width * 0.5f, b.top + b.height * 0.5f);
    canvas->GetBrush().SetColor(bar->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->FillRect(canvas::Rect2f(centre.x - grip.x * 0.5f, centre.y - grip.y * 0.5f, grip.x, grip.y));
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace korvane::mwt
