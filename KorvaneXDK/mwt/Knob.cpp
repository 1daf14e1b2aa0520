/** @file Knob.cpp The knob's data. */
#include "KorvaneXDK/mwt/Knob.h"

#include "KorvaneXDK/mwt/DefaultFactories.h"

namespace korvane::mwt
{

CKnob::CKnob(const std::string& name) : CControl(name)
{
    AppearanceFactory = CDefaultFactories::KnobAppearance;
}

CKnob::~CKnob() = default;

double CKnob::GetValue() const
{
    return value_;
}
double CKnob::GetMaximum() const
{
    return maximum_;
}
double CKnob::GetMinimum() const
{
    return minimum_;
}
void CKnob::SetValue(double value)
{
    value_ = value;
}
void CKnob::SetMaximum(double maximum)
{
    maximum_ = maximum;
}
void CKnob::SetMinimum(double minimum)
{
    minimum_ = minimum;
}
bool CKnob::IsWedgeStyle() const
{
    return wedgeStyle_;
}
void CKnob::SetWedgeStyle(bool wedge)
{
    wedgeStyle_ = wedge;
}
bool CKnob::IsHighlighted() const
{
    return highlighted_;
}
void CKnob::SetHighlighted(bool highlighted)
{
    highlighted_ = highlighted;
}

} // namespace korvane::mwt
