/** @file SolidColorAppearance.h The appearance that fills the control with its colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SolidColor" (registered as "CSolidColorAppearance"); serves every control. Sets the
/// current brush's colour to the control's colour and fills {0, 0, w, h}. Reads no keys.
class CSolidColorAppearance : public TControlAppearance<CControl>
{
public:
    CSolidColorAppearance();
    ~CSolidColorAppearance() override;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create();

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

} // namespace korvane::mwt
