/** @file SimpleCheckBoxAppearance.h The check box drawn with fills and outlines in the control's colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SimpleCheckBox": a tinted square {1, 1, h - 2, h - 2} (brighter while pressed) with an
/// additive outline, an additive mark {4, 4, h - 8, h - 8} when checked, the caption after it.
/// The disabled state does not change the drawing.
class CSimpleCheckBoxAppearance : public TControlAppearance<CCheckBox>
{
public:
    CSimpleCheckBoxAppearance();
    ~CSimpleCheckBoxAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
