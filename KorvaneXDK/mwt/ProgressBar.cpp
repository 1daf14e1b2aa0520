/** @file ProgressBar.cpp The progress bar's data. */
#include "KorvaneXDK/mwt/ProgressBar.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CProgressBar::CProgressBar(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::ProgressBarAppearance;
}

CProgressBar::~CProgressBar() = default;

double CProgressBar::GetValue() const
{
    return value_;
}
double CProgressBar::GetMaximum() const
{
    return maximum_;
}
double CProgressBar::GetMinimum() const
{
    return minimum_;
}
std::int32_t CProgressBar::GetOrientation() const
{
    return orientation_;
}
void CProgressBar::SetValue(double value)
{
    value_ = value;
}
void CProgressBar::SetMaximum(double maximum)
{
    maximum_ = maximum;
}
void CProgressBar::SetMinimum(double minimum)
{
    minimum_ = minimum;
}
void CProgressBar::SetOrientation(std::int32_t orientation)
{
    orientation_ = orientation;
}

} // namespace korvane::mwt
