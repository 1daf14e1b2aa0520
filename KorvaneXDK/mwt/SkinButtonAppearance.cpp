/** @file SkinButtonAppearance.cpp The skinned button body. */
#include "KorvaneXDK/mwt/SkinButtonAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{

CSkinButtonAppearance::CSkinButtonAppearance() : TControlAppearance<CButton>("SkinButton") {}

CSkinButtonAppearance::~CSkinButtonAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinButtonAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinButtonAppearance());
}

void CSkinButtonAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
    downTexture_ = resolver(properties.Get("DownTexture", ""));
}

void CSkinButtonAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    const CButton* button = CastControl(control);
    if (!button->IsBodyVisible()) {
        return;
    }
    ITexture* picture = button->IsPressed() ? downTexture_ : texture_;
    if (!picture) {
        return;
    }
    const Vector2<float> size = button->GetSize();
    canvas->PushBrush();
    if (!button->IsEnabled()) {
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    }
    canvas->DrawSkin(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), bodyRect_, picture);
    canvas->PopBrush();
}

} // namespace korvane::mwt
