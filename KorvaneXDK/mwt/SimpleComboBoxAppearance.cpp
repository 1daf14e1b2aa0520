/** @file SimpleComboBoxAppearance.cpp The plain combo box. */
#include "KorvaneXDK/mwt/SimpleComboBoxAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/ComboBoxDrawing.h"

namespace korvane::mwt
{

namespace
{

/// The rectangle tinted with the control's colour at `alpha` of its opacity, then outlined
/// additively.
void DrawTintedBox(CControl* control, canvas::CCanvas* canvas, const canvas::Rect2f& box, float alpha)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, alpha));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(box);
    canvas->PopBrush();
    canvas->PopBrush();
    canvas->PushBrush();
    canvas->GetBrush().SetColor(control->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendAdditive);
    canvas->DrawRect(box);
    canvas->PopBrush();
}

} // namespace

CSimpleComboBoxAppearance::CSimpleComboBoxAppearance() : TControlAppearance<CComboBox>("SimpleComboBox") {}

CSimpleComboBoxAppearance::~CSimpleComboBoxAppearance() = default;

boost::shared_ptr<IControlAppearance> CreateSimpleComboBoxAppearance()
{
    return boost::shared_ptr<IControlAppearance>(new CSimpleComboBoxAppearance());
}

void CSimpleComboBoxAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CComboBox* combo = CastControl(control);
    const Vector2<float> size = combo->GetSize();
    const bool down = combo->IsButtonDown();
    const bool focused = combo->IsFocused();
    DrawTintedBox(combo, canvas, canvas::Rect2f(1.0f, 1.0f, size.x - 19.0f, size.y - 2.0f),
                  down || focused ? 0.25f : 0.15f);
    const canvas::Rect2f button(size.x - 17.0f, 1.0f, 16.0f, size.y - 2.0f);
    DrawTintedBox(combo, canvas, button, down ? 0.8f : (focused ? 0.55f : 0.3f));
    DrawButtonDot(combo, canvas, button);
    DrawComboBoxText(combo, canvas, canvas::Rect2f(4.0f, 0.0f, size.x - 24.0f, size.y - 1.0f));
}

} // namespace korvane::mwt
