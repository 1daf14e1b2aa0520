/** @file Knob.h A value control shown as a gauge or a rotary knob: the data its appearances read. */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MinMaxValue.h"

namespace korvane::mwt
{

/// Holds a value, its bounds and two drawing flags; it takes no input of its own. The value is
/// stored as given, not clamped to the bounds.
class CKnob : public CControl, public IMinMaxValue
{
public:
    explicit CKnob(const std::string& name = std::string());
    ~CKnob() override;

    double GetValue() const override;
    double GetMaximum() const override;
    double GetMinimum() const override;
    void SetValue(double value) override;
    void SetMaximum(double maximum) override;
    void SetMinimum(double minimum) override;
    /// A narrow wedge at the value instead of a sweep from the start angle.
    virtual bool IsWedgeStyle() const;
    virtual void SetWedgeStyle(bool wedge);
    virtual bool IsHighlighted() const;
    virtual void SetHighlighted(bool highlighted);

private:
    double value_ = 0.0;
    double maximum_ = 100.0;
    double minimum_ = 0.0;
    bool wedgeStyle_ = false;
    bool highlighted_ = false;
};

} // namespace korvane::mwt
