/** @file MinMaxValue.h The value part of the controls that show a number between two bounds. */
#pragma once

namespace korvane::mwt
{

/// What the value appearances read of a control; how the control keeps and bounds its value is
/// the control's own business.
class IMinMaxValue
{
public:
    virtual ~IMinMaxValue() = default;

    virtual double GetValue() const = 0;
    virtual double GetMaximum() const = 0;
    virtual double GetMinimum() const = 0;
};

} // namespace korvane::mwt
