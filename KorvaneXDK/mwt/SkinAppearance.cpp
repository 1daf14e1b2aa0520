/** @file SkinAppearance.cpp The appearance of a nine-piece skin cut from one texture. */
#include "KorvaneXDK/mwt/SkinAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{

CSkinAppearance::CSkinAppearance() : TControlAppearance<CControl>("Skin") {}

CSkinAppearance::~CSkinAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinAppearance());
}

void CSkinAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
}

void CSkinAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    if (!texture_) {
        return;
    }
    const Vector2<float> size = target->GetSize();
    canvas->DrawSkin(canvas::Rect2f(0.0f, 0.0f, size.x, size.y), bodyRect_, texture_);
}

} // namespace korvane::mwt
