/** @file SkinProgressBarAppearance.cpp The skinned progress bar. */
#include "KorvaneXDK/mwt/SkinProgressBarAppearance.h"

#include <cmath>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/SimpleProgressBarAppearance.h"

namespace korvane::mwt
{

CSkinProgressBarAppearance::CSkinProgressBarAppearance() : TControlAppearance<CProgressBar>("SkinProgressBar") {}

CSkinProgressBarAppearance::~CSkinProgressBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinProgressBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinProgressBarAppearance());
}

void CSkinProgressBarAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    bodyRect_ = ReadAppearanceRect(properties, "BodyRect");
    texture_ = resolver(properties.Get("Texture", ""));
    downTexture_ = resolver(properties.Get("DownTexture", ""));
}

void CSkinProgressBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CProgressBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    const float f = ProgressFraction(bar);
    if (texture_) {
        canvas->DrawSkin(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), bodyRect_, texture_);
    }
    const double t = canvas->GetElapsedMilliseconds();
    const float alpha = static_cast<float>(0.85 + 0.15 * std::sin(2.0 * 3.141592653589793 * t / 1000.0));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, alpha));
    if (downTexture_) {
        const canvas::Rect2f filled = bar->GetOrientation() == CProgressBar::kHorizontal
                                          ? canvas::Rect2f(0.0f, 0.0f, size.x * f, size.y)
                                          : canvas::Rect2f(0.0f, (1.0f - f) * size.y, size.x, f * size.y);
        canvas->DrawSkin(filled, bodyRect_, downTexture_);
    }
    canvas->PopBrush();
}

} // namespace korvane::mwt
