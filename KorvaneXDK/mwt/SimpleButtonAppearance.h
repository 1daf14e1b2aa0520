/** @file SimpleButtonAppearance.h The buttons' default body: a plain box in the button's colour with a bright outline. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SimpleButton". One unit in from the edges: a fill of the button's colour at 80 %
/// of its opacity while pressed, 20 % otherwise, under an additive outline in that colour.
/// Disabled buttons keep their body as it is; a button with no body draws nothing here.
class CSimpleButtonAppearance : public TControlAppearance<CButton>
{
public:
    CSimpleButtonAppearance();
    ~CSimpleButtonAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
