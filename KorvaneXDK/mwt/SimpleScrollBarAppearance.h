/** @file SimpleScrollBarAppearance.h The scroll bars' default look: plain boxes with 16-unit end buttons. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/ScrollBar.h"

namespace korvane::mwt
{

/// Named "SimpleScrollBar". Lays out 16-unit end buttons (left/top decreases, right/bottom
/// increases) with the track between them and a shortest thumb of 16. Draws each end button as
/// an additive outline, a box and a 2 x 2 dot, the two track parts as boxes and the thumb as an
/// outline and a box; the pressed part's box is bright.
class CSimpleScrollBarAppearance : public TControlAppearance<CScrollBar>
{
public:
    static constexpr float kButtonSize = 16.0f;

    CSimpleScrollBarAppearance();
    ~CSimpleScrollBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Layout(CControl* control) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
