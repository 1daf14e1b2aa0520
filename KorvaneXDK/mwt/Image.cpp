/** @file Image.cpp The picture control. */
#include "KorvaneXDK/mwt/Image.h"

#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/platform/graphics/TextureInterface.h"

namespace korvane::mwt
{

CImage::CImage(const std::string& name) : CControl(name) {}

CImage::~CImage() = default;

void CImage::ApplyAutoSize()
{
    if (texture_ && autoSize_) {
        SetSize(Vector2<float>(static_cast<float>(texture_->GetImageWidth()) * imageScale_,
                               static_cast<float>(texture_->GetImageHeight()) * imageScale_));
    }
}

void CImage::Draw(canvas::CCanvas* canvas)
{
    if (!IsVisible() || !GetAppearance()) {
        return;
    }
    if (IsLayoutEditMode()) {
        const Vector2<float> size = GetSize();
        const canvas::Rect2f bounds(0.0f, 0.0f, size.x, size.y);
        canvas->PushBrush();
        canvas->GetBrush().SetBlendMode(canvas::CBrush::kBlendNormal);
        canvas->GetBrush().SetColor(Color4<float>(0.5f, 0.5f, 0.5f, 1.0f));
        canvas->DrawRect(bounds);
        canvas->GetBrush().SetColor(Color4<float>(0.7f, 0.7f, 0.7f, 1.0f));
        canvas->DrawTextClipped(bounds, GetName());
        canvas->PopBrush();
    }
    CControl::Draw(canvas);
    if (!texture_) {
        return;
    }
    // Held for the draw: a draw handler may replace the texture.
    const boost::shared_ptr<ITexture> texture = texture_;
    canvas->PushBrush();
    canvas->GetBrush().SetFiltering(true);
    canvas->GetBrush().SetColor(GetColor());
    canvas->GetBrush().SetBlendMode(GetBlendMode());
    canvas->PushClipRect();
    if (GetAnimation()) {
        canvas->ResetClipRect();
    }
    ApplyAutoSize();
    const Vector2<float> size = GetSize();
    const canvas::Rect2f r(0.0f, 0.0f, size.x, size.y);
    if (stretch_) {
        canvas->DrawImageScaled(r, texture.get());
    } else {
        canvas->DrawImage(r, r, texture.get());
    }
    canvas->PopClipRect();
    canvas->PopBrush();
}

void CImage::SetTexture(boost::shared_ptr<ITexture> texture)
{
    texture_ = texture;
}

void CImage::GetTexture(boost::shared_ptr<ITexture>& out) const
{
    out = texture_;
}

void CImage::SetImagePath(const std::string& path)
{
    imagePath_ = path;
}

const std::string& CImage::GetImagePath() const
{
    return imagePath_;
}

void CImage::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    ApplyAutoSize();
}

bool CImage::IsAutoSize() const
{
    return autoSize_;
}

void CImage::SetImageScale(float scale)
{
    imageScale_ = scale;
    ApplyAutoSize();
}

float CImage::GetImageScale() const
{
    return imageScale_;
}

void CImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
}

bool CImage::IsStretch() const
{
    return stretch_;
}

} // namespace korvane::mwt
