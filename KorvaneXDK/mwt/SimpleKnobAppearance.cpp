/** @file SimpleKnobAppearance.cpp The level gauge knob. */
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/DrawValueFrame.h"

namespace korvane::mwt
{

float KnobPosition(const CKnob* knob)
{
    double range = knob->GetMaximum() - knob->GetMinimum();
    if (range == 0.0) {
        range = 1.0;
    }
    return static_cast<float>((knob->GetValue() - knob->GetMinimum()) / range);
}

void DrawLevelFill(CKnob* knob, canvas::CCanvas* canvas, const canvas::Rect2f& level)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, knob->IsHighlighted() ? 0.9f : 0.6f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(knob->GetColor());
    canvas->GetBrush().SetBlendMode(knob->GetBlendMode());
    canvas->FillRect(canvas::Rect2f(level.left + 1.0f, level.top + 1.0f, level.width - 2.0f, level.height - 2.0f));
    canvas->PopBrush();
    canvas->PopBrush();
}

CSimpleKnobAppearance::CSimpleKnobAppearance() : TControlAppearance<CKnob>("SimpleKnob") {}

CSimpleKnobAppearance::~CSimpleKnobAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleKnobAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleKnobAppearance());
}

void CSimpleKnobAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CKnob* knob = CastControl(control);
    const Vector2<float> size = knob->GetSize();
    DrawValueFrame(knob, canvas, canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
    const float t = KnobPosition(knob);
    DrawLevelFill(knob, canvas, canvas::Rect2f(0.0f, (1.0f - t) * size.y, size.x, t * size.y));
}

} // namespace korvane::mwt
