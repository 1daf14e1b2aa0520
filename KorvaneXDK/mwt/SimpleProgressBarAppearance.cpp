/** @file SimpleProgressBarAppearance.cpp The plain progress bar. */
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"

#include <limits>

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

float ProgressFraction(const CProgressBar* bar)
{
    const double smallest = std::numeric_limits<double>::min();
    const double range = bar->GetMaximum() - bar->GetMinimum();
    return static_cast<float>(bar->GetValue() / (range > smallest ? range : smallest));
}

CSimpleProgressBarAppearance::CSimpleProgressBarAppearance() : TControlAppearance<CProgressBar>("SimpleProgressBar") {}

CSimpleProgressBarAppearance::~CSimpleProgressBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleProgressBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleProgressBarAppearance());
}

void CSimpleProgressBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CProgressBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    const float f = ProgressFraction(bar);
    const canvas::Rect2f outer(1.0f, 1.0f, size.x - 2.0f, size.y - 2.0f);
    const canvas::Rect2f inner(3.0f, 3.0f, size.x - 6.0f, size.y - 6.0f);

    canvas->PushBrush();
    canvas->GetBrush().SetColor(bar->GetColor());
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.2f));
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(outer);
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.8f));
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    if (bar->GetOrientation() == CProgressBar::kHorizontal) {
        canvas->FillRect(canvas::Rect2f(inner.left, inner.top, inner.width * f, inner.height));
    } else {
        canvas->FillRect(
            canvas::Rect2f(inner.left, inner.top + (1.0f - f) * inner.height, inner.width, inner.height * f));
    }
    canvas->PopBrush();
    canvas->PopBrush();

    canvas->PushBrush();
    canvas->GetBrush().SetColor(bar->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(outer);
    canvas->PopBrush();
}

} // namespace korvane::mwt
