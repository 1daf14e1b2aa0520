/** @file TwoStateControl.cpp The data shared by the check box and the radio button. */
#include "KorvaneXDK/mwt/TwoStateControl.h"

namespace korvane::mwt
{

CTwoStateControl::CTwoStateControl(const std::string& name) : CControl(name) {}

CTwoStateControl::~CTwoStateControl() = default;

const std::string& CTwoStateControl::GetCaption() const
{
    return caption_;
}
void CTwoStateControl::SetCaption(const std::string& caption)
{
    caption_ = caption;
}
const canvas::CFont& CTwoStateControl::GetFont() const
{
    return font_;
}
void CTwoStateControl::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}
bool CTwoStateControl::IsPressed() const
{
    return pressed_;
}
void CTwoStateControl::SetPressed(bool pressed)
{
    pressed_ = pressed;
}
bool CTwoStateControl::IsChecked() const
{
    return checked_;
}
void CTwoStateControl::SetChecked(bool checked)
{
    checked_ = checked;
}

} // namespace korvane::mwt
