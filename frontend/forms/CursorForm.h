/** @file CursorForm.h The on-screen pointer: it glides to its target and pulses while it follows the focus. */
#pragma once

#include "KorvaneXDK/core/Vector2.h"
#include "frontend/forms/CursorFormDesign.h"

/// Positions are of the pointed-at point (the picture's tip, 55,31 inside the form). The form
/// never takes input. Focus mode pulses the picture's alpha between 1 and 0.2 twice a second;
/// pointer mode shows it solid.
class CCursorForm : public CCursorFormDesign
{
public:
    /// The tip of the arrow inside the picture.
    static constexpr float kHotSpotX = 55.0f;
    static constexpr float kHotSpotY = 31.0f;
    /// The longest frame a glide or pulse step takes into account.
    static constexpr float kMaxStep = 0.05005005f;
    /// The share of the remaining distance covered per second of step.
    static constexpr float kGlideRate = 24.0f;

    CCursorForm();
    ~CCursorForm() override;

    /// Jumps there: location and target at once.
    virtual void SetCursorPosition(const korvane::Vector2<float>& point);
    /// Glides there over the next frames.
    virtual void SetTargetPosition(const korvane::Vector2<float>& point);
    /// The target point, not the point under the gliding picture.
    virtual korvane::Vector2<float> GetCursorPosition() const;
    virtual void SetFocusMode(bool focusMode);
    virtual bool IsFocusMode() const;
    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnUpdate(korvane::mwt::CComponent* sender, float seconds);

    /// The same, by coordinates.
    void SetCursorPosition(float x, float y) { SetCursorPosition(korvane::Vector2<float>(x, y)); }
    void SetTargetPosition(float x, float y) { SetTargetPosition(korvane::Vector2<float>(x, y)); }

    // The window scene's names for the same operations.
    void JumpTo(const korvane::Vector2<float>& point) { SetCursorPosition(point); }
    void MoveTo(const korvane::Vector2<float>& point) { SetTargetPosition(point); }
    korvane::Vector2<float> GetPointerPosition() const { return GetCursorPosition(); }
    void SetFollowFocus(bool follow) { SetFocusMode(follow); }
    bool IsFollowFocus() const { return IsFocusMode(); }

    double GetPulseClock() const { return pulseClock_; }

private:
    korvane::Vector2<float> hotSpot_{kHotSpotX, kHotSpotY};
    korvane::Vector2<float> target_{0.0f, 0.0f};
    bool focusMode_ = true;
    double pulseClock_ = 0.0;
};
