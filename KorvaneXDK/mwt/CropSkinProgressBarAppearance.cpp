/** @file CropSkinProgressBarAppearance.cpp The cropping progress bar. */
#include "KorvaneXDK/mwt/CropSkinProgressBarAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{

CCropSkinProgressBarAppearance::CCropSkinProgressBarAppearance()
    : TControlAppearance<CProgressBar>("CropSkinProgressBar")
{}

CCropSkinProgressBarAppearance::~CCropSkinProgressBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CCropSkinProgressBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CCropSkinProgressBarAppearance());
}

void CCropSkinProgressBarAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    texture_ = resolver(properties.Get("Texture", ""));
    downTexture_ = resolver(properties.Get("DownTexture", ""));
}

void CCropSkinProgressBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CProgressBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    const float f = ProgressFraction(bar);
    canvas->PushBrush();
    canvas->GetBrush().SetColor(bar->GetColor());
    canvas->GetBrush().SetBlendMode(bar->GetBlendMode());
    try {
        if (texture_) {
            canvas->DrawImageScaled(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), texture_);
        }
        float w = 0.0f;
        float h = 0.0f;
        if (downTexture_) {
            w = static_cast<float>(downTexture_->GetImageWidth());
            h = static_cast<float>(downTexture_->GetImageHeight());
        }
        if (bar->GetOrientation() == CProgressBar::kHorizontal) {
            canvas->DrawImage(canvas::Rect2f(0.0f, 0.0f, size.x * f, size.y), canvas::Rect2f(0.0f, 0.0f, f * w, h),
                              downTexture_);
        } else {
            canvas->DrawImage(canvas::Rect2f(0.0f, (1.0f - f) * size.y, size.x, size.y * f),
                              canvas::Rect2f(0.0f, (1.0f - f) * h, w, f * h), downTexture_);
        }
    } catch (...) {
        canvas->PopBrush();
        throw;
    }
    canvas->PopBrush();
}

} // namespace korvane::mwt
