/** @file RadioButton.cpp The radio button: its own default appearance. */
#include "KorvaneXDK/mwt/RadioButton.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CRadioButton::CRadioButton(const std::string& name) : CTwoStateControl(name)
{
    AppearanceFactory = CDefaultFactories::RadioButtonAppearance;
}

CRadioButton::~CRadioButton() = default;

} // namespace korvane::mwt
