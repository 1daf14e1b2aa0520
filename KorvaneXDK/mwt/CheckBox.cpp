/** @file CheckBox.cpp The check box: its own default appearance. */
#include "KorvaneXDK/mwt/CheckBox.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CCheckBox::CCheckBox(const std::string& name) : CTwoStateControl(name)
{
    AppearanceFactory = CDefaultFactories::CheckBoxAppearance;
}

CCheckBox::~CCheckBox() = default;

} // namespace korvane::mwt
