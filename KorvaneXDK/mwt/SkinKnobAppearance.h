/** @file SkinKnobAppearance.h The knob drawn as a rotary picture revealed up to the value. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/Knob.h"

namespace korvane::mwt
{

/// Keys "StartDegrees" (0), "EndDegrees" (360), "KnobTexture", "BackgroundTexture". Each draw
/// sizes the control to the knob picture, draws the background whole, then the sector of the
/// knob picture: from the start angle over the value's share of the span, or (wedge style) a
/// wedge of 15 % of the span centred on the value. A missing picture leaves its part out.
class CSkinKnobAppearance : public TControlAppearance<CKnob>
{
public:
    CSkinKnobAppearance();
    ~CSkinKnobAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

private:
    ITexture* knobTexture_ = nullptr;
    ITexture* backgroundTexture_ = nullptr;
    float startDegrees_ = 0.0f;
    float endDegrees_ = 360.0f;
};

} // namespace korvane::mwt
