/** @file TextureSkinAppearance.cpp The appearance of a skin cut from one texture around a body rectangle. */
#include "KorvaneXDK/mwt/TextureSkinAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{

CTextureSkinAppearance::CTextureSkinAppearance(const std::string& name, EPieces pieces)
    : TControlAppearance<CControl>(name), pieces_(pieces)
{}

CTextureSkinAppearance::~CTextureSkinAppearance() = default;

void CTextureSkinAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
}

void CTextureSkinAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    if (!texture_) {
        return;
    }
    const Vector2<float> size = target->GetSize();
    const canvas::Rect2f area(0.0f, 0.0f, size.x, size.y);
    if (pieces_ == EPieces::Nine) {
        canvas->DrawSkin(area, bodyRect_, texture_);
        return;
    }
    canvas->PushBrush();
    if (!target->IsEnabled()) {
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    }
    if (pieces_ == EPieces::ThreeAcross) {
        canvas->DrawHorizontalSkin(area, bodyRect_, texture_);
    } else {
        canvas->DrawVerticalSkin(area, bodyRect_, texture_);
    }
    canvas->PopBrush();
}

} // namespace korvane::mwt
