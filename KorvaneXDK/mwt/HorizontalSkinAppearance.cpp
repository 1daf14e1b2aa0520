/** @file HorizontalSkinAppearance.cpp The appearance of a skin stretched across: two caps and a middle. */
#include "KorvaneXDK/mwt/HorizontalSkinAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{

CHorizontalSkinAppearance::CHorizontalSkinAppearance() : TControlAppearance<CControl>("HorizontalSkin") {}

CHorizontalSkinAppearance::~CHorizontalSkinAppearance() = default;

boost::shared_ptr<IControlAppearance> CHorizontalSkinAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CHorizontalSkinAppearance());
}

void CHorizontalSkinAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
}

void CHorizontalSkinAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    if (!texture_) {
        return;
    }
    const Vector2<float> size = target->GetSize();
    canvas->PushBrush();
    if (!target->IsEnabled()) {
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    }
    canvas->DrawHorizontalSkin(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), bodyRect_, texture_);
    canvas->PopBrush();
}

} // namespace korvane::mwt
