/** @file SkinKnobAppearance.cpp The rotary knob. */
#include "KorvaneXDK/mwt/SkinKnobAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/NormalizeAngle.h"
#include "KorvaneXDK/mwt/SimpleKnobAppearance.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{

CSkinKnobAppearance::CSkinKnobAppearance() : TControlAppearance<CKnob>("SkinKnob") {}

CSkinKnobAppearance::~CSkinKnobAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinKnobAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinKnobAppearance());
}

void CSkinKnobAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    startDegrees_ = ParseAppearanceNumber(properties.Get("StartDegrees", "0"));
    endDegrees_ = ParseAppearanceNumber(properties.Get("EndDegrees", "360"));
    knobTexture_ = resolver(properties.Get("KnobTexture", ""));
    backgroundTexture_ = resolver(properties.Get("BackgroundTexture", ""));
}

void CSkinKnobAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CKnob* knob = CastControl(control);
    if (knobTexture_) {
        knob->SetSize(Vector2<float>(static_cast<float>(knobTexture_->GetImageWidth()),
                                     static_cast<float>(knobTexture_->GetImageHeight())));
    }
    canvas->PushBrush();
    canvas->GetBrush().SetColor(knob->GetColor());
    canvas->GetBrush().SetBlendMode(knob->GetBlendMode());
    if (backgroundTexture_) {
        canvas->DrawImageAt(Vector2<float>(0.0f, 0.0f), backgroundTexture_);
    }
    if (knobTexture_) {
        const float degree = 3.14159265f / 180.0f;
        const float start = startDegrees_ * degree;
        const float span = (endDegrees_ - startDegrees_) * degree;
        const float t = KnobPosition(knob);
        float begin = start;
        float sweep = span * t;
        if (knob->IsWedgeStyle()) {
            begin = NormalizeAngle((t - 0.075f) * span + start);
            sweep = span * 0.15f;
        }
        canvas->DrawImageSector(Vector2<float>(0.0f, 0.0f), begin, begin + sweep, knobTexture_);
    }
    canvas->PopBrush();
}

} // namespace korvane::mwt
