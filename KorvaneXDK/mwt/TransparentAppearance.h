/** @file TransparentAppearance.h The appearance that draws nothing at run time: every control's default. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "Transparent" (registered as "CTransparentApperance"). Invisible at run time; in
/// layout edit mode a grey one-pixel outline of the control's full size.
class CTransparentAppearance : public TControlAppearance<CControl>
{
public:
    CTransparentAppearance();
    ~CTransparentAppearance() override;

    /// A new instance (the registry's creation function and the controls' default).
    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
