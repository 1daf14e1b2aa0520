/** @file CheckBox.h A two-state control with a caption, drawn as a check box. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/TwoStateControl.h"

namespace korvane::mwt
{

class CCheckBox : public CTwoStateControl
{
public:
    explicit CCheckBox(const std::string& name = std::string());
    ~CCheckBox() override;
};

} // namespace korvane::mwt
