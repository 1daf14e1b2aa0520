/** @file Image.h A control that shows one texture. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Control.h"

namespace korvane
{
class ITexture;
} // namespace korvane

namespace korvane::mwt
{

/// With auto size on (the default) the control takes the texture's image size times the image
/// scale at every SetAutoSize, SetImageScale and draw, raising ResizeEvent each time. Stretch
/// (the default) spreads the whole texture over the control; without it texels map one to one
/// from the top-left corner. The image draws in its colour and blend mode over its appearance;
/// while an animation runs it may leave its parent's area. Holds its texture alive.
class CImage : public CControl
{
public:
    explicit CImage(const std::string& name = std::string());
    ~CImage() override;

    /// Nothing when invisible or without an appearance; in layout edit mode a grey outline and
    /// the name first, then the control, then the texture.
    void Draw(canvas::CCanvas* canvas) override;

    /// Replaces the texture; nothing else.
    virtual void SetTexture(boost::shared_ptr<ITexture> texture);
    /// A copy of the texture pointer.
    virtual void GetTexture(boost::shared_ptr<ITexture>& out) const;
    /// Stores the path the designs loaded the texture from; loads nothing.
    virtual void SetImagePath(const std::string& path);
    virtual const std::string& GetImagePath() const;
    /// Stores, then applies auto size.
    virtual void SetAutoSize(bool autoSize);
    virtual bool IsAutoSize() const;
    /// Stores, then applies auto size.
    virtual void SetImageScale(float scale);
    virtual float GetImageScale() const;
    /// Stores only.
    virtual void SetStretch(bool stretch);
    virtual bool IsStretch() const;

    // The names the form designs use.
    void SetImageName(const std::string& path) { SetImagePath(path); }
    void SetScale(float scale) { SetImageScale(scale); }
    void SetImageFlag(bool stretch) { SetStretch(stretch); }

private:
    void ApplyAutoSize();

    boost::shared_ptr<ITexture> texture_;
    bool autoSize_ = true;
    float imageScale_ = 1.0f;
    bool stretch_ = true;
    std::string imagePath_;
};

} // namespace korvane::mwt
