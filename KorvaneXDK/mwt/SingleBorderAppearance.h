/** @file SingleBorderAppearance.h The appearance of a thin frame over a faint fill. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SingleBorder" (registered as "CSingleBorderAppearance"); serves every control. With
/// inner = {1, 1, w - 2, h - 2}: a fill of inner in the control's colour at 15 % of its opacity,
/// then a one-pixel outline of inner in the control's colour, both blending normally. The
/// outline leaves the current brush in the control's colour. Reads no keys.
class CSingleBorderAppearance : public TControlAppearance<CControl>
{
public:
    CSingleBorderAppearance();
    ~CSingleBorderAppearance() override;

    /// A new instance (the registry's creation function and several controls' default).
    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
