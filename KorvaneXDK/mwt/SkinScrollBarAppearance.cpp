/** @file SkinScrollBarAppearance.cpp The skinned scroll bar. */
#include "KorvaneXDK/mwt/SkinScrollBarAppearance.h"

#include <algorithm>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AppearanceKeys.h"

namespace korvane::mwt
{
namespace
{

/// A track part: the bar's colour at 80 % of its opacity while pressed, else 20 %, edge to edge.
void FillTrackPart(const CScrollBar* bar, canvas::CCanvas* canvas, const canvas::Rect2f& r, bool active)
{
    canvas->PushBrush();
    canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, active ? 0.8f : 0.2f));
    canvas->PushBrush();
    canvas->GetBrush().SetColor(bar->GetColor());
    canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
    canvas->FillRect(r);
    canvas->PopBrush();
    canvas->PopBrush();
}

} // namespace

CSkinScrollBarAppearance::CSkinScrollBarAppearance() : TControlAppearance<CScrollBar>("SkinScrollBar") {}

CSkinScrollBarAppearance::~CSkinScrollBarAppearance() = default;

boost::shared_ptr<IControlAppearance> CSkinScrollBarAppearance::Create()
{
    return boost::shared_ptr<IControlAppearance>(new CSkinScrollBarAppearance());
}

void CSkinScrollBarAppearance::LoadProperties(const AppearanceProperties& properties, TextureResolver resolver)
{
    LoadSkinKeys(properties, resolver, bodyRect_, texture_);
    downTexture_ = resolver(properties.Get("DownTexture", ""));
    maxButtonSize_ = ParseAppearanceNumber(properties.Get("MaxButtonSize", "128"));
}

void CSkinScrollBarAppearance::Layout(CControl* control)
{
    CScrollBar* bar = CastControl(control);
    const Vector2<float> size = bar->GetSize();
    if (bar->GetOrientation() == 0) {
        const float s = std::min(size.y, maxButtonSize_);
        bar->SetDecreaseButtonRect(canvas::Rect2f(0.0f, 0.0f, s, size.y));
        bar->SetIncreaseButtonRect(canvas::Rect2f(size.x - s, 0.0f, s, size.y));
        bar->SetTrackRect(canvas::Rect2f(s, 0.0f, size.x - 2.0f * s, size.y));
        bar->SetMinThumbLength(size.y);
    } else {
        const float s = std::min(size.x, maxButtonSize_);
        bar->SetDecreaseButtonRect(canvas::Rect2f(0.0f, 0.0f, size.x, s));
        bar->SetIncreaseButtonRect(canvas::Rect2f(0.0f, size.y - s, size.x, s));
        bar->SetTrackRect(canvas::Rect2f(0.0f, s, size.x, size.y - 2.0f * s));
        bar->SetMinThumbLength(size.x);
    }
}

void CSkinScrollBarAppearance::Draw(CControl* control, canvas::CCanvas* canvas)
{
    const CScrollBar* bar = CastControl(control);
    const auto active = [bar](std::int32_t part) { return bar->IsPartPressed() && bar->GetPressedPart() == part; };
    const auto skin = [this, canvas](const canvas::Rect2f& r, bool down) {
        ITexture* picture = down ? downTexture_ : texture_;
        if (picture) {
            canvas->DrawSkin(r, bodyRect_, picture);
        }
    };
    skin(bar->GetIncreaseButtonRect(), active(CScrollBar::kPartIncreaseButton));
    skin(bar->GetDecreaseButtonRect(), active(CScrollBar::kPartDecreaseButton));
    FillTrackPart(bar, canvas, bar->GetPageIncreaseRect(), active(CScrollBar::kPartPageIncrease));
    FillTrackPart(bar, canvas, bar->GetPageDecreaseRect(), active(CScrollBar::kPartPageDecrease));
    skin(bar->GetThumbRect(), active(CScrollBar::kPartThumb));
}

} // namespace korvane::mwt
