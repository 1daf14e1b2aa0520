/** @file SingleBorderAppearance.cpp The appearance of a thin frame over a faint fill. */
#include "KorvaneXDK/mwt/SingleBorderAppearance.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

CSingleBorderAppearance::CSingleBorderAppearance() : TControlAppearance<CControl>("SingleBorder") {}

CSingleBorderAppearance::~CSingleBorderAppearance() = default;

boost::shared_ptr<IControlAppearance> CSingleBorderAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSingleBorderAppearance());
}

void CSingleBorderAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    CControl* target = CastControl(control);
    const Vector2<float> size = target->GetSize();
    const canvas::Rect2f inner(1.0f, 1.0f, size.x - 2.0f, size.y - 2.0f);

    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.15f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(target->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(inner);
    canvas->PopBrush();
    canvas->PopBrush();

    canvas->GetBrush().SetColor(target->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->DrawRect(inner);
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
}

} // namespace korvane::mwt
