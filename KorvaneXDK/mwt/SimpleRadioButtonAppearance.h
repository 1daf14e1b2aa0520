/** @file SimpleRadioButtonAppearance.h The radio button drawn with fills in the control's colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/RadioButton.h"

namespace korvane::mwt
{

/// Named "SimpleRadioButton": a tinted body {3, 3, h - 6, h - 6}, a frame of six one-pixel strips
/// around {1, 1, h - 2, h - 2} whose sides are open across their middle third, an additive mark
/// when checked, the caption after it. The disabled state does not change the drawing.
class CSimpleRadioButtonAppearance : public TControlAppearance<CRadioButton>
{
public:
    CSimpleRadioButtonAppearance();
    ~CSimpleRadioButtonAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
