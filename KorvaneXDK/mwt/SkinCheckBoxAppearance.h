/** @file SkinCheckBoxAppearance.h The check box drawn with a checked and an unchecked picture. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/CheckBox.h"
#include "KorvaneXDK/mwt/SkinTwoStateAppearance.h"

namespace korvane::mwt
{

/// Named "SkinCheckBox"; see TSkinTwoStateAppearance.
class CSkinCheckBoxAppearance : public TSkinTwoStateAppearance<CCheckBox>
{
public:
    CSkinCheckBoxAppearance();
    ~CSkinCheckBoxAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();
};

} // namespace korvane::mwt
