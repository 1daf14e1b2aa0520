/** @file SkinFormAppearance.cpp The skinned form frame. */
#include "KorvaneXDK/mwt/SkinFormAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/CanvasMath.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{
CSkinFormAppearance::CSkinFormAppearance() : CFormAppearance("SkinForm") {}

CSkinFormAppearance::~CSkinFormAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinFormAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinFormAppearance());
}

void CSkinFormAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    // Nothing changes until every key has been read, so a failing resolver leaves the old values.
    const canvas::Rect2f body = ReadAppearanceRect(properties, "BodyRect");
    const canvas::Rect2f content = ReadAppearanceRect(properties, "ContentRect");
    const canvas::Rect2f caption = ReadAppearanceRect(properties, "CaptionRect");
    ITexture* texture = resolver(properties.Get("Texture", ""));
    ITexture* buttonTexture = resolver(properties.Get("ButtonTexture", ""));
    bodyRect_ = body;
    contentRect_ = content;
    captionRect_ = caption;
    texture_ = texture;
    buttonTexture_ = buttonTexture;
}

void CSkinFormAppearance::GetClientRect(canvas::Rect2f& out, CControl* control)
{
    const CForm* form = CastControl(control);
    const Vector2<float> size = form->GetSize();
    if (!IsFramed(form)) {
        out = canvas::Rect2f(0.0f, 0.0f, size.x, size.y);
        return;
    }
    const float left = contentRect_.left - bodyRect_.left;
    const float top = contentRect_.top - bodyRect_.top;
    const float right = (bodyRect_.left + bodyRect_.width) - (contentRect_.left + contentRect_.width);
    const float bottom = (bodyRect_.top + bodyRect_.height) - (contentRect_.top + contentRect_.height);
    out = canvas::Rect2f(left, top, size.x - left - right, size.y - top - bottom);
}

float CSkinFormAppearance::CaptionLeft() const
{
    return captionRect_.left - bodyRect_.left;
}

float CSkinFormAppearance::CaptionWidth(float width) const
{
    const float right = (bodyRect_.left + bodyRect_.width) - (captionRect_.left + captionRect_.width);
    return width - right - CaptionLeft();
}

void CSkinFormAppearance::Layout(CControl* control)
{
    CForm* form = CastControl(control);
    if (!IsFramed(form)) {
        return;
    }
    form->SetCaptionHeight(canvas::SaturateToInt32(captionRect_.height));
    const float s = static_cast<float>(form->GetCaptionHeight()) - 4.0f;
    const float left = CaptionLeft();
    canvas::Rect2f box(left + CaptionWidth(form->GetSize().x) - s, (captionRect_.top - bodyRect_.top) - 2.0f, s, s);
    if (form->IsCloseBoxEnabled()) {
        form->SetCloseBoxRect(box);
        box.left -= s + 4.0f;
    }
    if (form->IsMaximizeBoxEnabled()) {
        form->SetMaximizeBoxRect(box);
        box.left -= s + 2.0f;
    }
    if (form->IsRollUpBoxEnabled()) {
        form->SetRollUpBoxRect(box);
    }
}

void CSkinFormAppearance::DrawFrame(CForm* form, canvas::CCanvas* canvas)
{
    const Vector2<float> size = form->GetSize();
    const canvas::Rect2f whole(0.0f, 0.0f, size.x, size.y);
    const bool focused = form->IsFocused();

    if (form->GetWindowState() == CForm::kStateRolledUp) {
        canvas->PushBrush();
        canvas->GetBrush().SetColor(form->GetColor());
        canvas->FillRect(whole);
        canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
        canvas->DrawRect(whole);
        canvas->PopBrush();
    } else if (texture_) {
        canvas->DrawSkin(whole, bodyRect_, texture_);
    }

    canvas->GetBrush().SetColor(focused ? Color4<float>(1.0f, 1.0f, 1.0f, 1.0f)
                                        : Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    canvas->SetFont(form->GetFont());
    const std::string& name = form->GetFormName();
    const float textHeight = canvas->GetFontHeight(name);
    const std::int32_t q = canvas::SaturateToInt32(static_cast<double>(captionRect_.height - textHeight)) / 2;
    canvas->DrawTextClipped(canvas::Rect2f(CaptionLeft(), static_cast<float>(q), CaptionWidth(size.x), textHeight),
                            name);

    if (buttonTexture_) {
        const float hw = static_cast<float>(buttonTexture_->GetImageWidth() / 2);
        const float hh = static_cast<float>(buttonTexture_->GetImageHeight() / 2);
        auto drawBox = [&](const canvas::Rect2f& box, const canvas::Rect2f& quarter) {
            canvas->DrawImagePartAt(Vector2<float>(box.left, box.top), quarter, buttonTexture_);
        };
        if (form->IsCloseBoxEnabled()) {
            drawBox(form->GetCloseBoxRect(), canvas::Rect2f(0.0f, hh, hw, hh));
        }
        if (form->IsMaximizeBoxEnabled()) {
            drawBox(form->GetMaximizeBoxRect(), canvas::Rect2f(hw, 0.0f, hw, hh));
        }
        if (form->IsRollUpBoxEnabled()) {
            drawBox(form->GetRollUpBoxRect(), canvas::Rect2f(0.0f, 0.0f, hw, hh));
        }
    }
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace korvane::mwt
