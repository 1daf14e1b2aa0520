/** @file SkinTrackBarAppearance.cpp The skinned track bar. */
#include "KorvaneXDK/mwt/SkinTrackBarAppearance.h"

#include <cmath>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{

CSkinTrackBarAppearance::CSkinTrackBarAppearance() : TControlAppearance<CTrackBar>("SkinTrackBar") {}

CSkinTrackBarAppearance::~CSkinTrackBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinTrackBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinTrackBarAppearance());
}

void CSkinTrackBarAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    bodyRect_ = ReadAppearanceRect(properties, "BodyRect");
    texture_ = resolver(properties.Get("Texture", ""));
    buttonTexture_ = resolver(properties.Get("ButtonTexture", ""));
    buttonDownTexture_ = resolver(properties.Get("ButtonDownTexture", ""));
}

void CSkinTrackBarAppearance::Layout(CControl* control)
{
    CTrackBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    const bool horizontal = bar->GetOrientation() == CTrackBar::kHorizontal;
    bar->SetTrackRect(canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
    // A missing or empty picture has no aspect ratio: the button then takes half the cross size.
    float ratio = 0.5f;
    if (buttonTexture_) {
        const double w = buttonTexture_->GetImageWidth();
        const double h = buttonTexture_->GetImageHeight();
        const double picture = horizontal ? w / h : h / w;
        if (std::isfinite(picture) && picture > 0.0) {
            ratio = static_cast<float>(picture);
        }
    }
    bar->SetButtonSize(horizontal ? size.y * ratio : size.x * ratio);
}

void CSkinTrackBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CTrackBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    canvas->PushBrush();
    if (!bar->IsEnabled()) {
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.3f));
    }
    if (texture_) {
        const canvas::Rect2f track = bar->GetOrientation() == CTrackBar::kHorizontal
                                         ? canvas::Rect2f(4.0f, size.y / 3.0f, size.x - 8.0f, size.y / 3.0f)
                                         : canvas::Rect2f(size.x / 3.0f, 4.0f, size.x / 3.0f, size.y - 8.0f);
        canvas->DrawSkin(track, bodyRect_, texture_);
    }
    ITexture* button =
        bar->IsPressed() && bar->GetPressedPart() == CTrackBar::kPartButton ? buttonDownTexture_ : buttonTexture_;
    if (button) {
        canvas->DrawImageScaled(bar->GetButtonRect(), button);
    }
    canvas->PopBrush();
}

} // namespace korvane::mwt
