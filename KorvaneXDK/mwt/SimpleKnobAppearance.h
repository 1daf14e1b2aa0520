/** @file SimpleKnobAppearance.h The knob drawn as a vertical level gauge. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/Knob.h"

namespace korvane::mwt
{

/// (value - minimum) / (maximum - minimum) in double precision, the divisor 1 for an empty
/// range, not clamped.
float KnobPosition(const CKnob* knob);

/// The level rectangle inset by one, in the control's colour and blend mode at 0.9 of its
/// opacity when the knob is highlighted, else 0.6.
void DrawLevelFill(CKnob* knob, canvas::CCanvas* canvas, const canvas::Rect2f& level);

/// Named "SimpleKnob": the value frame, then the level filled from the bottom.
class CSimpleKnobAppearance : public TControlAppearance<CKnob>
{
public:
    CSimpleKnobAppearance();
    ~CSimpleKnobAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
