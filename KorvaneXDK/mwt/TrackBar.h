/** @file TrackBar.h A value control with a button moving along a track: the data and geometry its appearances use. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MinMaxValue.h"

namespace korvane::mwt
{

/// The appearance lays the control out (track rectangle and button length); the button then
/// sits at (value - minimum) / (maximum - minimum) of (track length - button length) from the
/// track's start, the first area before it and the second after it. A fraction outside 0..1 is
/// held at the nearer end, so the button never leaves the track; an empty or reversed range puts
/// it at the start. It takes no input of its own.
class CTrackBar : public CControl, public IMinMaxValue
{
public:
    static constexpr std::int32_t kHorizontal = 0;
    static constexpr std::int32_t kVertical = 1;

    /// Pressed parts.
    static constexpr std::int32_t kPartNone = 0;
    static constexpr std::int32_t kPartFirstArea = 1;
    static constexpr std::int32_t kPartSecondArea = 2;
    static constexpr std::int32_t kPartButton = 3;

    explicit CTrackBar(const std::string& name = std::string());
    ~CTrackBar() override;

    double GetValue() const override;
    double GetMaximum() const override;
    double GetMinimum() const override;
    void SetValue(double value) override;
    void SetMaximum(double maximum) override;
    void SetMinimum(double minimum) override;

    /// 0 horizontal, any other value vertical.
    virtual std::int32_t GetOrientation() const;
    virtual void SetOrientation(std::int32_t orientation);
    virtual const canvas::Rect2f& GetTrackRect() const;
    virtual void SetTrackRect(const canvas::Rect2f& rect);
    virtual canvas::Rect2f GetButtonRect() const;
    virtual canvas::Rect2f GetFirstAreaRect() const;
    virtual canvas::Rect2f GetSecondAreaRect() const;
    /// The button's length along the track.
    virtual float GetButtonSize() const;
    virtual void SetButtonSize(float size);
    virtual bool IsPressed() const;
    virtual void SetPressed(bool pressed);
    /// kPartNone, kPartFirstArea, kPartSecondArea or kPartButton.
    virtual std::int32_t GetPressedPart() const;
    virtual void SetPressedPart(std::int32_t part);

private:
    /// Where the button starts along the track.
    float ButtonStart() const;

    double value_ = 0.0;
    double maximum_ = 100.0;
    double minimum_ = 0.0;
    std::int32_t orientation_ = kHorizontal;
    canvas::Rect2f trackRect_;
    float buttonSize_ = 0.0f;
    bool pressed_ = false;
    std::int32_t pressedPart_ = kPartNone;
};

} // namespace korvane::mwt
