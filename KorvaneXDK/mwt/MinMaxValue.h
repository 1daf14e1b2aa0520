/** @file MinMaxValue.h The value interface the value controls share and their appearances read. */
#pragma once

#include "KorvaneXDK/core/Object.h"

namespace korvane::mwt
{

/// A double value between a minimum and a maximum. How a setter clamps, and whether it fires
/// anything, is the control's business.
class IMinMaxValue : public IInterface
{
public:
    ~IMinMaxValue() override = default;

    virtual void SetValue(double value) = 0;
    virtual double GetValue() const = 0;
    virtual void SetMaximum(double maximum) = 0;
    virtual double GetMaximum() const = 0;
    virtual void SetMinimum(double minimum) = 0;
    virtual double GetMinimum() const = 0;
};

} // namespace korvane::mwt
