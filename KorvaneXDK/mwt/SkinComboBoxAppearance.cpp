/** @file SkinComboBoxAppearance.cpp The skinned combo box. */
#include "KorvaneXDK/mwt/SkinComboBoxAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/ComboBoxDrawing.h"

namespace korvane::mwt
{

CSkinComboBoxAppearance::CSkinComboBoxAppearance() : TControlAppearance<CComboBox>("SkinComboBox") {}

CSkinComboBoxAppearance::~CSkinComboBoxAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinComboBoxAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinComboBoxAppearance());
}

void CSkinComboBoxAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    bodyRect_ = ReadAppearanceRect(properties, "BodyRect");
    buttonBodyRect_ = ReadAppearanceRect(properties, "ButtonBodyRect");
    texture_ = resolver(properties.Get("Texture", ""));
    buttonTexture_ = resolver(properties.Get("ButtonTexture", ""));
    buttonDownTexture_ = resolver(properties.Get("ButtonDownTexture", ""));
}

void CSkinComboBoxAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CComboBox* combo = CastControl(control);
    const Vector2<float> size = combo->GetSize();
    if (texture_) {
        canvas->DrawSkin(canvas::Rect2f(0.0f, 0.0f, size.x - 17.0f, size.y), bodyRect_, texture_);
    }
    const canvas::Rect2f button(size.x - 18.0f, 0.0f, 18.0f, size.y);
    ITexture* buttonPicture = combo->IsButtonDown() ? buttonDownTexture_ : buttonTexture_;
    if (buttonPicture) {
        canvas->DrawSkin(button, buttonBodyRect_, buttonPicture);
    }
    DrawButtonDot(combo, canvas, button);
    DrawComboBoxText(combo, canvas, canvas::Rect2f(4.0f, 0.0f, size.x - 26.0f, size.y));
}

} // namespace korvane::mwt
