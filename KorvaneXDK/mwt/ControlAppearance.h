/** @file ControlAppearance.h The appearance template that fixes the control class drawn, with the defaults. */
#pragma once

#include <concepts>
#include <string>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/BadCast.h"
#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/ControlAppearanceInterface.h"

namespace korvane::mwt
{

class CForm;

/// Defaults: reads no keys, the client rectangle is {0, 0, w, h}, a point hits the control's
/// bounds (half-open), Layout and Draw do nothing. Every default that reads the control casts
/// it first, so an appearance given a control of another class fails on first use with
/// EBadCast ("bad cast"). An appearance for CControl serves every control.
template <typename TControl>
class TControlAppearance : public IControlAppearance
{
public:
    TControlAppearance() = default;
    explicit TControlAppearance(const std::string& name) : IControlAppearance(name) {}
    ~TControlAppearance() override = default;

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override {}

    void GetClientRect(canvas::Rect2f& out, CControl* control) override
    {
        const Vector2<float> size = CastControl(control)->GetSize();
        out = canvas::Rect2f(0.0f, 0.0f, size.x, size.y);
    }

    bool HitTest(CControl* control, const Vector2<float>& point) override
    {
        return CastControl(control)->GetBounds().Contains(point);
    }

    void Layout(CControl* control) override {}

    void Draw(CControl* control, canvas::CCanvas* canvas) override {}

    /// The form's client fill of style 1, shared by both form appearances: the current brush (no
    /// push) takes the form's colour and fills the form's client rectangle. Defined beside them
    /// (FormAppearance.cpp).
    static void FillClientArea(CForm* form, canvas::CCanvas* canvas) requires std::same_as<TControl, CForm>;

    /// The control as TControl; EBadCast for a null control or one of another class.
    virtual const TControl* CastControl(const CControl* control) const
    {
        const TControl* cast = dynamic_cast<const TControl*>(control);
        if (!cast) {
            throw EBadCast();
        }
        return cast;
    }

    virtual TControl* CastControl(CControl* control)
    {
        TControl* cast = dynamic_cast<TControl*>(control);
        if (!cast) {
            throw EBadCast();
        }
        return cast;
    }
};

} // namespace korvane::mwt
