/** @file SimpleComboBoxAppearance.h The combo box drawn with tinted boxes in the control's colour. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SimpleComboBox": a text box and a 16-unit button strip at the right, both filled and
/// outlined in the control's colour (brighter when focused or pressed), the button dot, the
/// text and the caret.
class CSimpleComboBoxAppearance : public TControlAppearance<CComboBox>
{
public:
    CSimpleComboBoxAppearance();
    ~CSimpleComboBoxAppearance() override;

    void Draw(CControl* control, canvas::CCanvas* canvas) override;
};

/// A new CSimpleComboBoxAppearance: the registry's creation function and the combo box's default.
boost::shared_ptr<IControlAppearance> CreateSimpleComboBoxAppearance();

} // namespace korvane::mwt
