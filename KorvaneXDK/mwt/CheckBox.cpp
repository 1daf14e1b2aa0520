/** @file CheckBox.cpp The check box's data. */
#include "KorvaneXDK/mwt/CheckBox.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CCheckBox::CCheckBox(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::CheckBoxAppearance;
}

CCheckBox::~CCheckBox() = default;

const std::string& CCheckBox::GetCaption() const
{
    return caption_;
}
void CCheckBox::SetCaption(const std::string& caption)
{
    caption_ = caption;
}
const canvas::CFont& CCheckBox::GetFont() const
{
    return font_;
}
void CCheckBox::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}
bool CCheckBox::IsPressed() const
{
    return pressed_;
}
void CCheckBox::SetPressed(bool pressed)
{
    pressed_ = pressed;
}
bool CCheckBox::IsChecked() const
{
    return checked_;
}
void CCheckBox::SetChecked(bool checked)
{
    checked_ = checked;
}

} // namespace korvane::mwt
