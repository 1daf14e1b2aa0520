/** @file RadioButton.cpp The radio button's data. */
#include "KorvaneXDK/mwt/RadioButton.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CRadioButton::CRadioButton(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::RadioButtonAppearance;
}

CRadioButton::~CRadioButton() = default;

const std::string& CRadioButton::GetCaption() const
{
    return caption_;
}
void CRadioButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
}
const canvas::CFont& CRadioButton::GetFont() const
{
    return font_;
}
void CRadioButton::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}
bool CRadioButton::IsPressed() const
{
    return pressed_;
}
void CRadioButton::SetPressed(bool pressed)
{
    pressed_ = pressed;
}
bool CRadioButton::IsChecked() const
{
    return checked_;
}
void CRadioButton::SetChecked(bool checked)
{
    checked_ = checked;
}

} // namespace korvane::mwt
