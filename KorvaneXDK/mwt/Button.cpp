/** @file Button.cpp The push button's pointer handling, click animation and content drawing. */
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/CanvasDepthGuard.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/mwt/AnimationComponent.h"
#include "KorvaneXDK/mwt/DefaultFactories.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{
namespace
{

/// Where a block of `size` starts in `available` for alignment 1 (centre), 2 (end) or another (start).
float Align(std::int32_t alignment, float available, float size)
{
    if (alignment == 1) {
        return std::floor((available - size) * 0.5f);
    }
    return alignment == 2 ? available - size : 0.0f;
}

float Centre(float available, float size)
{
    return std::floor((available - size) * 0.5f);
}

} // namespace

CButton::CButton(const std::string& name)
    : CControl(name), PressAnimationFactory(CDefaultFactories::ButtonPressAnimation)
{
    AppearanceFactory = CDefaultFactories::ButtonAppearance;
}

CButton::~CButton() = default;

void CButton::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !GetAppearance()) {
        return;
    }
    CControl::Draw(canvas);
    // A failed draw leaves the canvas's stacks as it found them (a missing font, say).
    const CCanvasDepthGuard guard(*canvas);
    canvas->PushFont();
    canvas->PushBrush();
    canvas->SetFont(font_);
    if (!IsEnabled()) {
        canvas->GetBrush().SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
    }
    const Vector2<float> size = GetSize();
    const Vector2<float> text = canvas->MeasureText(caption_);
    Vector2<float> captionAt;
    if (!icon_) {
        captionAt = Vector2<float>(Align(textAlignment_, size.x, text.x), Align(verticalAlignment_, size.y, text.y));
    } else {
        const float iw = static_cast<float>(icon_->GetImageWidth());
        const float ih = static_cast<float>(icon_->GetImageHeight());
        Vector2<float> block = text;
        if (iconPlacement_ == kIconLeft || iconPlacement_ == kIconRight) {
            block = Vector2<float>(iw + text.x, std::max(ih, text.y));
        } else if (iconPlacement_ == kIconAbove || iconPlacement_ == kIconBelow) {
            block = Vector2<float>(std::max(iw, text.x), ih + text.y);
        }
        const float bx = Align(textAlignment_, size.x, block.x);
        const float by = Align(verticalAlignment_, size.y, block.y);
        Vector2<float> iconAt;
        switch (iconPlacement_) {
        case kIconLeft:
            iconAt = Vector2<float>(bx, by + Centre(block.y, ih));
            captionAt = Vector2<float>(bx + iw, by + Centre(block.y, text.y));
            break;
        case kIconRight:
            iconAt = Vector2<float>(bx + text.x, by + Centre(block.y, ih));
            captionAt = Vector2<float>(bx, by + Centre(block.y, text.y));
            break;
        case kIconAbove:
            iconAt = Vector2<float>(bx + Centre(block.x, iw), by);
            captionAt = Vector2<float>(bx + Centre(block.x, text.x), by + ih);
            break;
        case kIconBelow:
            iconAt = Vector2<float>(bx + Centre(block.x, iw), by + text.y);
            captionAt = Vector2<float>(bx + Centre(block.x, text.x), by);
            break;
        case kIconCentered:
            iconAt = Vector2<float>(Centre(size.x, iw), Centre(size.y, ih));
            captionAt = Vector2<float>(bx, by);
            break;
        default:
            break;
        }
        canvas->PushBrush();
        canvas::CBrush& brush = canvas->GetBrush();
        brush.SetFiltering(true);
        brush.SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 1.0f));
        canvas->DrawImageAt(iconAt, icon_.get());
        if (IsPressed()) {
            // A second, additive pass brightens the pressed icon.
            brush.SetColor(Color4<float>(1.0f, 1.0f, 1.0f, 0.5f));
            brush.SetBlendMode(canvas::CBrush::kBlendAdditive);
            canvas->DrawImageAt(iconAt, icon_.get());
        }
        canvas->PopBrush();
    }
    canvas->PushBrush();
    canvas->GetBrush().SetColor(GetColor());
    canvas->DrawTextClipped(canvas::Rect2f(captionAt.x, captionAt.y, text.x, text.y), caption_);
    canvas->PopBrush();
    canvas->PopBrush();
    canvas->PopFont();
}

void CButton::OnClick()
{
    if (!IsLayoutEditMode()) {
        SetAnimation(PressAnimationFactory());
    }
    CControl::OnClick();
}

void CButton::OnMouseDown(const Vector2<float>& point, int button)
{
    pressed_ = true;
    pressedOver_ = true;
    CControl::OnMouseDown(point, button);
}

void CButton::OnMouseUp(const Vector2<float>& point, int button)
{
    pressed_ = false;
    pressedOver_ = false;
    CControl::OnMouseUp(point, button);
}

void CButton::OnMouseMove(const Vector2<float>& point, int buttons)
{
    pressedOver_ = pressed_ && HitTest(LocalToParent(point));
    CControl::OnMouseMove(point, buttons);
}

void CButton::OnWindowDeactivate()
{
    pressed_ = false;
    pressedOver_ = false;
    CControl::OnWindowDeactivate();
}

void CButton::SetCaption(const std::string& caption)
{
    caption_ = caption;
}

const std::string& CButton::GetCaption() const
{
    return caption_;
}

void CButton::SetFont(const canvas::CFont& font)
{
    font_.SetName(font.GetName());
}

const canvas::CFont& CButton::GetFont() const
{
    return font_;
}

void CButton::SetIcon(boost::shared_ptr<ITexture> icon)
{
    icon_ = icon;
}

boost::shared_ptr<ITexture> CButton::GetIcon() const
{
    return icon_;
}

void CButton::SetIconPath(const std::string& path)
{
    iconPath_ = path;
}

const std::string& CButton::GetIconPath() const
{
    return iconPath_;
}

void CButton::SetIconPlacement(std::int32_t placement)
{
    iconPlacement_ = placement;
}

std::int32_t CButton::GetIconPlacement() const
{
    return iconPlacement_;
}

void CButton::SetBodyVisible(std::int32_t visible)
{
    bodyVisible_ = visible;
}

std::int32_t CButton::IsBodyVisible() const
{
    return bodyVisible_;
}

void CButton::SetTextAlignment(std::int32_t alignment)
{
    textAlignment_ = alignment;
}

std::int32_t CButton::GetTextAlignment() const
{
    return textAlignment_;
}

void CButton::SetVerticalAlignment(std::int32_t alignment)
{
    verticalAlignment_ = alignment;
}

std::int32_t CButton::GetVerticalAlignment() const
{
    return verticalAlignment_;
}

bool CButton::IsPressed() const
{
    return pressedOver_ && !IsLayoutEditMode();
}

} // namespace korvane::mwt
