/** @file SkinRadioButtonAppearance.h The radio button drawn with a checked and an unchecked picture. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/RadioButton.h"
#include "KorvaneXDK/mwt/SkinTwoStateAppearance.h"

namespace korvane::mwt
{

/// Named "SkinRadioButton"; see TSkinTwoStateAppearance.
class CSkinRadioButtonAppearance : public TSkinTwoStateAppearance<CRadioButton>
{
public:
    CSkinRadioButtonAppearance();
    ~CSkinRadioButtonAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();
};

} // namespace korvane::mwt
