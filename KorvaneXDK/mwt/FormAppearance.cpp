/** @file FormAppearance.cpp The style switch shared by the form appearances, and the form's client fill. */
#include "KorvaneXDK/mwt/FormAppearance.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"

#include <cstddef>

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

void CFormAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CForm* form = CastControl(control);
    // A failed draw leaves the canvas's stacks as it found them (a missing font, say).
    const CCanvasDepthGuard guard(*canvas);
    canvas->PushBrush();
    canvas->PushFont();
    if (form->GetFormStyle() == 1) {
        TControlAppearance<CForm>::FillClientArea(form, canvas);
    } else if (IsFramed(form)) {
        DrawFrame(form, canvas);
    }
    canvas->PopFont();
    canvas->PopBrush();
}

template <typename TControl>
void TControlAppearance<TControl>::FillClientArea(CForm* form,
                                                  canvas::CCanvas* canvas) requires std::same_as<TControl, CForm>
{
    canvas->GetBrush().SetColor(form->GetColor());
    canvas->FillRect(form->GetClientRect());
}

template void TControlAppearance<CForm>::FillClientArea(CForm* form, canvas::CCanvas* canvas);

bool CFormAppearance::IsFramed(const CForm* form)
{
    return form->GetFormStyle() == 2 || form->GetFormStyle() == 3;
}

} // namespace korvane::mwt
