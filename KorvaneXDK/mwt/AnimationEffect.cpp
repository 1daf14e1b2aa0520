/** @file AnimationEffect.cpp The animations' shared helpers. */
#include "KorvaneXDK/mwt/AnimationEffect.h"

#include "KorvaneXDK/canvas/CanvasMath.h"

namespace korvane::mwt
{

CControl* GetAnimatedControl(CComponent* parent)
{
    return dynamic_cast<CControl*>(parent);
}

Matrix4 AboutPoint(const Matrix4& a, float x, float y)
{
    return canvas::Multiply(canvas::MakeTranslation(x, y), canvas::Multiply(a, canvas::MakeTranslation(-x, -y)));
}

Matrix4 AboutCentre(const Matrix4& a, const CControl& control)
{
    const Vector2<float> size = control.GetSize();
    return AboutPoint(a, size.x / 2.0f, size.y / 2.0f);
}

} // namespace korvane::mwt
