/** @file ProgressBar.h A bar filled to a value: the data its appearances read. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MinMaxValue.h"

namespace korvane::mwt
{

/// The appearances fill value / (maximum - minimum) of the bar, so the value counts from the
/// minimum. It takes no input of its own; nothing is clamped.
class CProgressBar : public CControl, public IMinMaxValue
{
public:
    static constexpr std::int32_t kHorizontal = 0;
    static constexpr std::int32_t kVertical = 1;

    explicit CProgressBar(const std::string& name = std::string());
    ~CProgressBar() override;

    double GetValue() const override;
    double GetMaximum() const override;
    double GetMinimum() const override;
    /// 0 horizontal, any other value vertical (growing from the bottom).
    virtual std::int32_t GetOrientation() const;
    void SetValue(double value) override;
    void SetMaximum(double maximum) override;
    void SetMinimum(double minimum) override;
    virtual void SetOrientation(std::int32_t orientation);

private:
    double value_ = 0.0;
    double maximum_ = 100.0;
    double minimum_ = 0.0;
    std::int32_t orientation_ = kHorizontal;
};

} // namespace korvane::mwt
