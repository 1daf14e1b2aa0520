/** @file SimpleFormAppearance.cpp The default form frame. */
#include "KorvaneXDK/mwt/SimpleFormAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{
namespace
{

const Color4<float> kFrameColor(0.0f, 0.0f, 0.0f, 0.6f);
const Color4<float> kActiveCaptionColor(0.0f, 0.0f, 0.8f, 0.6f);
const Color4<float> kActiveText(1.0f, 1.0f, 1.0f, 1.0f);
const Color4<float> kInactiveText(0.7f, 0.7f, 0.7f, 1.0f);
const Color4<float> kActiveBoxFill(0.1f, 0.1f, 0.3f, 0.5f);
const Color4<float> kActiveBoxLine(0.5f, 0.5f, 1.0f, 1.0f);
const Color4<float> kInactiveBoxFill(0.0f, 0.0f, 0.0f, 0.5f);
const Color4<float> kInactiveBoxLine(0.8f, 0.8f, 0.8f, 0.2f);

enum class Glyph
{
    Close,
    Maximize,
    RollUp,
};

void DrawBox(canvas::CCanvas* canvas, const canvas::Rect2f& r, Glyph glyph, bool focused)
{
    canvas::CBrush& brush = canvas->GetBrush();
    brush.SetColor(focused ? kActiveBoxFill : kInactiveBoxFill);
    brush.SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(r);
    brush.SetColor(focused ? kActiveBoxLine : kInactiveBoxLine);
    brush.SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(r);
    const canvas::Rect2f g(r.left + 2.0f, r.top + 2.0f, r.width - 4.0f, r.height - 4.0f);
    switch (glyph) {
    case Glyph::Close:
        canvas->FillRect(
            canvas::Rect2f(g.left, g.top + g.height * 2.0f / 5.0f - 1.0f, g.width, g.height / 4.0f + 1.0f));
        break;
    case Glyph::Maximize:
        canvas->FillRect(g);
        break;
    case Glyph::RollUp:
        canvas->FillRect(canvas::Rect2f(g.left + g.width * 2.0f / 5.0f - 1.0f, g.top + g.height * 2.0f / 5.0f - 1.0f,
                                        g.width / 4.0f + 1.0f, g.height / 4.0f + 1.0f));
        break;
    }
}

} // namespace

CSimpleFormAppearance::CSimpleFormAppearance() : CFormAppearance("SimpleForm") {}

CSimpleFormAppearance::~CSimpleFormAppearance() = default;

boost::shared_ptr<IControlAppearance> CSimpleFormAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleFormAppearance());
}

canvas::Rect2f CSimpleFormAppearance::GetDefaultContentRect(const CForm* form)
{
    const Vector2<float> size = form->GetSize();
    return canvas::Rect2f(2.0f, 20.0f, size.x - 4.0f, size.y - 22.0f);
}

void CSimpleFormAppearance::GetClientRect(canvas::Rect2f& out, CControl* control)
{
    const CForm* form = CastControl(control);
    if (IsFramed(form)) {
        out = GetDefaultContentRect(form);
        return;
    }
    const Vector2<float> size = form->GetSize();
    out = canvas::Rect2f(0.0f, 0.0f, size.x, size.y);
}

void CSimpleFormAppearance::Layout(CControl* control)
{
    CForm* form = CastControl(control);
    if (!IsFramed(form)) {
        return;
    }
    const float s = static_cast<float>(form->GetCaptionHeight()) - 4.0f;
    canvas::Rect2f box(form->GetSize().x - s - 2.0f, 2.0f, s, s);
    if (form->IsCloseBoxEnabled()) {
        form->SetCloseBoxRect(box);
        box.left -= s + 2.0f;
    }
    if (form->IsMaximizeBoxEnabled()) {
        form->SetMaximizeBoxRect(box);
        box.left -= s + 2.0f;
    }
    if (form->IsRollUpBoxEnabled()) {
        form->SetRollUpBoxRect(box);
    }
}

void CSimpleFormAppearance::DrawFrame(CForm* form, canvas::CCanvas* canvas)
{
    const Vector2<float> size = form->GetSize();
    const canvas::Rect2f c = form->GetClientRect();
    const bool focused = form->IsFocused();
    canvas::CBrush& brush = canvas->GetBrush();

    brush.SetColor(focused ? kActiveCaptionColor : kFrameColor);
    canvas->FillRect(canvas::Rect2f(0.0f, 0.0f, size.x, c.top));
    brush.SetColor(kFrameColor);
    canvas->FillRect(canvas::Rect2f(0.0f, c.top + c.height, size.x, size.y - (c.top + c.height)));
    brush.SetColor(kFrameColor);
    canvas->FillRect(canvas::Rect2f(0.0f, c.top, c.left, c.height));
    brush.SetColor(kFrameColor);
    canvas->FillRect(canvas::Rect2f(c.left + c.width, c.top, c.left, c.height));

    brush.SetColor(focused ? kActiveText : kInactiveText);
    canvas->SetFont(canvas::CFont("default"));
    canvas->DrawText(Vector2<float>(8.0f, 2.0f), form->GetFormName());

    if (form->IsCloseBoxEnabled()) {
        DrawBox(canvas, form->GetCloseBoxRect(), Glyph::Close, focused);
    }
    if (form->IsMaximizeBoxEnabled()) {
        DrawBox(canvas, form->GetMaximizeBoxRect(), Glyph::Maximize, focused);
    }
    if (form->IsRollUpBoxEnabled()) {
        DrawBox(canvas, form->GetRollUpBoxRect(), Glyph::RollUp, focused);
    }

    brush.SetBlendMode(canvas::CBrush::kBlendNormal);
    if (form->GetColor().a > 0.0f) {
        brush.SetColor(form->GetColor());
        canvas->FillRect(c);
    }
}

} // namespace korvane::mwt
