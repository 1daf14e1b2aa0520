/** @file SkinTwoStateAppearance.h The picture drawing that the skin check box and skin radio button share. */
#pragma once

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/mwt/CaptionDrawing.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Keys "CheckedTexture", "UncheckedTexture". A square of the control's height shows the
/// checked or unchecked picture (both at half opacity while pressed), the caption follows at
/// 1.4 h; a disabled control is drawn at 0.3 opacity, caption included. A missing picture is
/// left out. TControl offers GetCaption, GetFont, IsPressed and IsChecked.
template <typename TControl>
class TSkinTwoStateAppearance : public TControlAppearance<TControl>
{
public:
    explicit TSkinTwoStateAppearance(const std::string& name) : TControlAppearance<TControl>(name) {}

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override
    {
        checkedTexture_ = resolver(properties.Get("CheckedTexture", ""));
        uncheckedTexture_ = resolver(properties.Get("UncheckedTexture", ""));
    }

    void Draw(CControl* control, canvas::CCanvas* canvas) override
    {
        TControl* target = this->CastControl(control);
        const float h = target->GetSize().y;
        const canvas::Rect2f box(0.0f, 0.0f, h, h);
        canvas->PushBrush();
        if (!target->IsEnabled()) {
            canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.3f));
        }
        if (target->IsPressed()) {
            canvas->PushBrush();
            canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
            Picture(canvas, box, uncheckedTexture_);
            Picture(canvas, box, checkedTexture_);
            canvas->PopBrush();
        } else {
            Picture(canvas, box, target->IsChecked() ? checkedTexture_ : uncheckedTexture_);
        }
        DrawTwoStateCaption(target, canvas, target->GetCaption(), target->GetFont(), 1.4f * h);
        canvas->PopBrush();
    }

private:
    static void Picture(canvas::CCanvas* canvas, const canvas::Rect2f& box, ITexture* texture)
    {
        if (texture) {
            canvas->DrawImageScaled(box, texture);
        }
    }

    ITexture* checkedTexture_ = nullptr;
    ITexture* uncheckedTexture_ = nullptr;
};

} // namespace korvane::mwt
