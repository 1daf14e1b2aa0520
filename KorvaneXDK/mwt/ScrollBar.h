/** @file ScrollBar.h A value between a minimum and a maximum, changed by end buttons, the track, a thumb and keys. */
#pragma once

#include <cstdint>
#include <string>

#include <boost/function.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/MinMaxValue.h"

namespace korvane::mwt
{

/// The appearance lays out the two end buttons and the track between them (on every size
/// change and orientation change); the thumb and the two track parts beside it follow from the
/// value. The value stays within [minimum, maximum - page size] (the raw page size; a page larger
/// than the range pins it at the minimum).
///
/// The left button on a part steps at once: the end buttons by the small change, the track by
/// the large change; holding it repeats from 0.25 s on, about 30 steps a second, while the
/// pointer stays over the part (Update counts the time; it runs no animation and fires no
/// update handler). Dragging the thumb follows the pointer until it strays more than 128 units
/// from the thumb, which returns the value to where the drag began. Arrow keys step small, page
/// keys large; the key-down handler is not fired. Main thread only.
class CScrollBar : public CControl, public IMinMaxValue
{
public:
    using ScrollBarHandler = boost::function<void(CScrollBar*)>;

    /// Pressed parts.
    static constexpr std::int32_t kPartNone = 0;
    static constexpr std::int32_t kPartIncreaseButton = 1;
    static constexpr std::int32_t kPartDecreaseButton = 2;
    /// The track after (right of or below) the thumb.
    static constexpr std::int32_t kPartPageIncrease = 3;
    /// The track before the thumb.
    static constexpr std::int32_t kPartPageDecrease = 4;
    static constexpr std::int32_t kPartThumb = 5;

    /// How far beyond the thumb the pointer may go before a drag snaps back.
    static constexpr float kThumbReach = 128.0f;
    /// Seconds from a press to the first repeat, and between repeats.
    static constexpr float kRepeatDelay = 0.25f;
    static constexpr float kRepeatInterval = 0.033f;

    /// Copies the default scroll-bar appearance factory (CDefaultFactories) as it is now.
    explicit CScrollBar(const std::string& name = std::string());
    ~CScrollBar() override;

    /// Clamped to [minimum, maximum - page size]; a change fires ValueChangedEvent.
    void SetValue(double value) override;
    double GetValue() const override;
    /// Stores only: the value is not clamped again.
    void SetMaximum(double maximum) override;
    double GetMaximum() const override;
    /// Stores only: the value is not clamped again.
    void SetMinimum(double minimum) override;
    double GetMinimum() const override;

    /// The auto-repeat only.
    void Update(float seconds) override;
    void OnMouseDown(const Vector2<float>& point, int button) override;
    void OnMouseUp(const Vector2<float>& point, int button) override;
    void OnMouseMove(const Vector2<float>& point, int buttons) override;
    void OnWindowDeactivate() override;
    void OnKeyDown(unsigned int key) override;

    virtual void SetSmallChange(double change);
    virtual double GetSmallChange() const;
    virtual void SetLargeChange(double change);
    virtual double GetLargeChange() const;
    /// Stores only.
    virtual void SetPageSize(double pageSize);
    /// The page size, at most the range.
    virtual double GetPageSize() const;
    /// 0 horizontal, anything else vertical; the appearance lays out again.
    virtual void SetOrientation(std::int32_t orientation);
    virtual std::int32_t GetOrientation() const;
    virtual void SetIncreaseButtonRect(const canvas::Rect2f& rect);
    virtual const canvas::Rect2f& GetIncreaseButtonRect() const;
    virtual void SetDecreaseButtonRect(const canvas::Rect2f& rect);
    virtual const canvas::Rect2f& GetDecreaseButtonRect() const;
    virtual void SetTrackRect(const canvas::Rect2f& rect);
    virtual const canvas::Rect2f& GetTrackRect() const;
    virtual canvas::Rect2f GetThumbRect() const;
    /// The track after the thumb.
    virtual canvas::Rect2f GetPageIncreaseRect() const;
    /// The track before the thumb.
    virtual canvas::Rect2f GetPageDecreaseRect() const;
    virtual void SetMinThumbLength(float length);
    virtual float GetMinThumbLength() const;
    /// Pressed, with the pointer still over the pressed part.
    virtual bool IsPartPressed() const;
    /// The part last pressed (kept after the release).
    virtual std::int32_t GetPressedPart() const;

    // The front end's name for the same value.
    double GetEffectivePageSize() const { return GetPageSize(); }

    ScrollBarHandler ValueChangedEvent;

private:
    bool IsVertical() const { return orientation_ != 0; }
    /// maximum - minimum, 1 when they are equal.
    double GetRange() const;
    /// The thumb's length along the track and what raising it to the shortest thumb took off the travel.
    void GetThumbLength(float& length, float& extra) const;
    bool PartContains(std::int32_t part, const Vector2<float>& point) const;
    void DragThumb();

    double value_ = 0.0;
    double maximum_ = 100.0;
    double minimum_ = 0.0;
    double smallChange_ = 1.0;
    double largeChange_ = 10.0;
    double pageSize_ = 10.0;
    std::int32_t orientation_ = 0;
    canvas::Rect2f increaseButtonRect_;
    canvas::Rect2f decreaseButtonRect_;
    canvas::Rect2f trackRect_;
    float minThumbLength_ = 0.0f;
    bool pressed_ = false;
    bool pressedOver_ = false;
    std::int32_t pressedPart_ = kPartNone;
    float repeatClock_ = 0.0f;
    float lastRepeat_ = 0.0f;
    Vector2<float> pointer_;
    Vector2<float> grabOffset_;
    double valueAtPress_ = 0.0;
};

} // namespace korvane::mwt
