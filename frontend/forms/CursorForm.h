/** @file CursorForm.h The on-screen pointer the window scene moves (a plain stand-in until the menus' own). */
#pragma once

#include "KorvaneXDK/core/Vector2.h"
#include "KorvaneXDK/mwt/Form.h"

/// A small top-most form whose location is the pointed-at point minus the hot spot; it glides
/// towards its target each update. Takes no input itself.
class CCursorForm : public korvane::mwt::CForm
{
public:
    static constexpr float kHotSpotX = 55.0f;
    static constexpr float kHotSpotY = 31.0f;

    CCursorForm();
    ~CCursorForm() override;

    /// Moves there at once and rests there.
    virtual void SetCursorPosition(float x, float y);
    /// Glides there in the following updates.
    virtual void SetTargetPosition(float x, float y);
    /// The point the cursor is heading for.
    virtual korvane::Vector2<float> GetCursorPosition() const;
    virtual void SetFocusMode(bool focusMode);
    virtual bool IsFocusMode() const;

private:
    void OnUpdate(float seconds);

    korvane::Vector2<float> target_;
    bool focusMode_ = true;
};
