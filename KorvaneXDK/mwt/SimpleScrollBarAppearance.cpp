/** @file SimpleScrollBarAppearance.cpp The plain scroll bar. */
#include "KorvaneXDK/mwt/SimpleScrollBarAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/DrawValueFrame.h"
#include "KorvaneXDK/mwt/FillSimpleBox.h"

namespace korvane::mwt
{
namespace
{

/// The 2 x 2 additive square in the middle of an end button.
void DrawDot(const CScrollBar* bar, canvas::CCanvas* canvas, const canvas::Rect2f& r)
{
    canvas::CBrush& brush = canvas->GetBrush();
    brush.SetColor(bar->GetColor());
    brush.SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->FillRect(canvas::Rect2f(r.left + r.width * 0.5f - 1.0f, r.top + r.height * 0.5f - 1.0f, 2.0f, 2.0f));
    brush.SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace

CSimpleScrollBarAppearance::CSimpleScrollBarAppearance() : TControlAppearance<CScrollBar>("SimpleScrollBar") {}

CSimpleScrollBarAppearance::~CSimpleScrollBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleScrollBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleScrollBarAppearance());
}

void CSimpleScrollBarAppearance::Layout(CControl* control)
{
    CScrollBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    const float s = kButtonSize;
    if (bar->GetOrientation() == 0) {
        bar->SetDecreaseButtonRect(canvas::Rect2f(0.0f, 0.0f, s, size.y));
        bar->SetIncreaseButtonRect(canvas::Rect2f(size.x - s, 0.0f, s, size.y));
        bar->SetTrackRect(canvas::Rect2f(s, 0.0f, size.x - 2.0f * s, size.y));
    } else {
        bar->SetDecreaseButtonRect(canvas::Rect2f(0.0f, 0.0f, size.x, s));
        bar->SetIncreaseButtonRect(canvas::Rect2f(0.0f, size.y - s, size.x, s));
        bar->SetTrackRect(canvas::Rect2f(0.0f, s, size.x, size.y - 2.0f * s));
    }
    bar->SetMinThumbLength(s);
}

void CSimpleScrollBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    const CScrollBar* bar = CastControl(control);
    const auto active = [bar](std::int32_t part) { return bar->IsPartPressed() && bar->GetPressedPart() == part; };
    const canvas::Rect2f increase = bar->GetIncreaseButtonRect();
    DrawValueFrame(bar, canvas, increase);
    FillSimpleBox(bar, canvas, increase, active(CScrollBar::kPartIncreaseButton));
    DrawDot(bar, canvas, increase);
    const canvas::Rect2f decrease = bar->GetDecreaseButtonRect();
    DrawValueFrame(bar, canvas, decrease);
    FillSimpleBox(bar, canvas, decrease, active(CScrollBar::kPartDecreaseButton));
    DrawDot(bar, canvas, decrease);
    FillSimpleBox(bar, canvas, bar->GetPageIncreaseRect(), active(CScrollBar::kPartPageIncrease));
    FillSimpleBox(bar, canvas, bar->GetPageDecreaseRect(), active(CScrollBar::kPartPageDecrease));
    const canvas::Rect2f thumb = bar->GetThumbRect();
    DrawValueFrame(bar, canvas, thumb);
    FillSimpleBox(bar, canvas, thumb, active(CScrollBar::kPartThumb));
}

} // namespace korvane::mwt
