/** @file Panel.cpp The plain container. */
#include "KorvaneXDK/mwt/Panel.h"

#include "KorvaneXDK/canvas/Canvas.h"

namespace korvane::mwt
{

CPanel::CPanel(const std::string& name) : CContainerControl(name)
{
    SetColor(Color4<float>(0.2f, 0.2f, 0.2f, 0.6f));
}

CPanel::~CPanel() = default;

void CPanel::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !GetAppearance()) {
        return;
    }
    if (GetColor().a > 0.0f) {
        const Vector2<float> size = GetSize();
        canvas->PushBrush();
        canvas->GetBrush().SetColor(GetColor());
        canvas->FillRect(canvas::Rect2f(0.0f, 0.0f, size.x, size.y));
        canvas->PopBrush();
    }
    CContainerControl::Draw(canvas);
}

} // namespace korvane::mwt
