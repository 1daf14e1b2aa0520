/** @file TransparentAppearance.cpp The default appearance. */
#include "KorvaneXDK/mwt/TransparentAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

CTransparentAppearance::CTransparentAppearance() : TControlAppearance<CControl>("Transparent") {}

CTransparentAppearance::~CTransparentAppearance() = default;

boost::shared_ptr<IControlAppearance> CTransparentAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CTransparentAppearance());
}

void CTransparentAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    if (!target->IsLayoutEditMode()) {
        return;
    }
    const Vector2<float> size = target->GetSize();
    canvas->PushBrush();
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->GetBrush().SetColor(Color4<float>(0.5f, 0.5f, 0.5f, 1.0f));
    canvas->DrawRect(canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
    canvas->PopBrush();
}

} // namespace korvane::mwt
