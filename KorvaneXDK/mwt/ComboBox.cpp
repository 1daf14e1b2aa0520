/** @file ComboBox.cpp The combo box's data. */
#include "KorvaneXDK/mwt/ComboBox.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CComboBox::CComboBox(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::ComboBoxAppearance;
}

CComboBox::~CComboBox() = default;

const std::string& CComboBox::GetText() const
{
    return CControl::GetText();
}
void CComboBox::SetText(const std::string& text)
{
    CControl::SetText(text);
}
const canvas::CFont& CComboBox::GetTextFont() const
{
    return textFont_;
}
void CComboBox::SetTextFont(const canvas::CFont& font)
{
    textFont_.SetName(font.GetName());
}
bool CComboBox::IsButtonDown() const
{
    return buttonDown_;
}
void CComboBox::SetButtonDown(bool down)
{
    buttonDown_ = down;
}
bool CComboBox::IsCaretVisible() const
{
    return caretVisible_;
}
void CComboBox::SetCaretVisible(bool visible)
{
    caretVisible_ = visible;
}
std::int32_t CComboBox::GetCaretPosition() const
{
    return caretPosition_;
}
void CComboBox::SetCaretPosition(std::int32_t position)
{
    caretPosition_ = position;
}

} // namespace korvane::mwt
