/** @file SimpleProgressBarAppearance.h The progress bar drawn as an additive bar in the control's colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/ProgressBar.h"

namespace korvane::mwt
{

/// value / (maximum - minimum), the divisor held at the smallest positive normal double so an
/// empty or reversed range never divides by zero; not clamped.
float ProgressFraction(const CProgressBar* bar);

/// Named "SimpleProgressBar": the body {1, 1, w - 2, h - 2} at 0.2 opacity, the bar inside it
/// (inset by two more, growing from the left or from the bottom) additive at 0.8, and an
/// additive outline of the body.
class CSimpleProgressBarAppearance : public TControlAppearance<CProgressBar>
{
public:
    CSimpleProgressBarAppearance();
    ~CSimpleProgressBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
