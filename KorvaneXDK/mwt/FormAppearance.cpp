/** @file FormAppearance.cpp The style switch shared by the form appearances. */
#include "KorvaneXDK/mwt/FormAppearance.h"

#include <cstddef>

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

void CFormAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CForm* form = CastControl(control);
    const std::size_t fonts = canvas->GetFontDepth();
    canvas->PushBrush();
    canvas->PushFont();
    try {
        if (form->GetFormStyle() == 1) {
            FillClientArea(form, canvas);
        } else if (IsFramed(form)) {
            DrawFrame(form, canvas);
        }
    } catch (...) {
        // The control restores the brushes, matrices and clips of a failed draw but not the fonts:
        // a form whose font is missing would otherwise leave one pushed every frame.
        while (canvas->GetFontDepth() > fonts) {
            canvas->PopFont();
        }
        throw;
    }
    canvas->PopFont();
    canvas->PopBrush();
}

void CFormAppearance::FillClientArea(CForm* form, canvas::CCanvas* canvas)
{
    canvas->GetBrush().SetColor(form->GetColor());
    canvas->FillRect(form->GetClientRect());
}

bool CFormAppearance::IsFramed(const CForm* form)
{
    return form->GetFormStyle() == 2 || form->GetFormStyle() == 3;
}

} // namespace korvane::mwt
