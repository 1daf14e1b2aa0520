/** @file SimpleTrackBarAppearance.h The track bar drawn with tinted boxes in the control's colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"

namespace korvane::mwt
{

/// Named "SimpleTrackBar". Layout: the track is the whole control, the button half the cross
/// size long. Draw: the middle third of each area as a simple box (highlighted while that part
/// is pressed), the button framed and filled, and a two-unit grip across its middle.
class CSimpleTrackBarAppearance : public TControlAppearance<CTrackBar>
{
public:
    CSimpleTrackBarAppearance();
    ~CSimpleTrackBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void Layout(CControl* control) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
