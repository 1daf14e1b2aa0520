/** @file RadioButton.h A two-state control with a caption, drawn as a radio button. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/TwoStateControl.h"

namespace korvane::mwt
{

class CRadioButton : public CTwoStateControl
{
public:
    explicit CRadioButton(const std::string& name = std::string());
    ~CRadioButton() override;
};

} // namespace korvane::mwt
