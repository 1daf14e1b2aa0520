/** @file VerticalSkinAppearance.cpp The appearance of a skin stretched down: two caps and a middle. */
#include "KorvaneXDK/mwt/VerticalSkinAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{

CVerticalSkinAppearance::CVerticalSkinAppearance() : TControlAppearance<CControl>("VerticalSkin") {}

CVerticalSkinAppearance::~CVerticalSkinAppearance() = default;

boost::shared_ptr<IControlAppearance> CVerticalSkinAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CVerticalSkinAppearance());
}

void CVerticalSkinAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
}

void CVerticalSkinAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
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
    canvas->DrawVerticalSkin(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), bodyRect_, texture_);
    canvas->PopBrush();
}

} // namespace korvane::mwt
