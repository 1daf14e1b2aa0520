/** @file Form.cpp Forms: the data the widget tree and the appearances read. */
#include "KorvaneXDK/mwt/Form.h"

namespace korvane::mwt
{

CForm::CForm(const std::string& name) : CContainerControl(name) {}

CForm::~CForm() = default;

bool CForm::IsLayoutEditMode() const
{
    return layoutEditMode_;
}

const std::string& CForm::GetFormName() const
{
    return formName_;
}

void CForm::SetFormName(const std::string& name)
{
    formName_ = name;
}

std::int32_t CForm::GetCaptionHeight() const
{
    return captionHeight_;
}

void CForm::SetCaptionHeight(std::int32_t height)
{
    captionHeight_ = height;
}

canvas::CFont& CForm::GetFont()
{
    return font_;
}

void CForm::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

std::int32_t CForm::GetFormStyle() const
{
    return formStyle_;
}

void CForm::SetFormStyle(std::int32_t style)
{
    formStyle_ = style;
}

bool CForm::IsMaximizeBoxEnabled() const
{
    return maximizeBoxEnabled_;
}

void CForm::SetMaximizeBoxEnabled(bool enabled)
{
    maximizeBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetMaximizeBoxRect()
{
    return maximizeBoxRect_;
}

void CForm::SetMaximizeBoxRect(const canvas::Rect2f& rect)
{
    maximizeBoxRect_ = rect;
}

bool CForm::IsRollUpBoxEnabled() const
{
    return rollUpBoxEnabled_;
}

void CForm::SetRollUpBoxEnabled(bool enabled)
{
    rollUpBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetRollUpBoxRect()
{
    return rollUpBoxRect_;
}

void CForm::SetRollUpBoxRect(const canvas::Rect2f& rect)
{
    rollUpBoxRect_ = rect;
}

bool CForm::IsCloseBoxEnabled() const
{
    return closeBoxEnabled_;
}

void CForm::SetCloseBoxEnabled(bool enabled)
{
    closeBoxEnabled_ = enabled;
}

canvas::Rect2f& CForm::GetCloseBoxRect()
{
    return closeBoxRect_;
}

void CForm::SetCloseBoxRect(const canvas::Rect2f& rect)
{
    closeBoxRect_ = rect;
}

bool CForm::IsTopMost() const
{
    return topMost_;
}

void CForm::SetTopMost(bool topMost)
{
    topMost_ = topMost;
}

std::int32_t CForm::GetWindowState() const
{
    return windowState_;
}

bool CForm::IsActivateOnClick() const
{
    return activateOnClick_;
}

void CForm::SetActivateOnClick(bool activate)
{
    activateOnClick_ = activate;
}

bool CForm::IsClosing() const
{
    return closing_;
}

void CForm::SetLayoutEditMode(bool editMode)
{
    layoutEditMode_ = editMode;
}

bool CForm::IsInitialized() const
{
    return initialized_;
}

} // namespace korvane::mwt
