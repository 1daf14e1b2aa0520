/** @file SkinFormAppearance.h A form frame cut from a skin picture described by an appearance definition. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/FormAppearance.h"

namespace korvane::mwt
{

/// Named "SkinForm" (registered as "CSkinFormAppearance"). Keys: "BodyRect.*", "ContentRect.*"
/// and "CaptionRect.*" (left, top, width, height; texels of "Texture"), "Texture" (the frame)
/// and "ButtonTexture" (a 2 x 2 sheet: roll-up top left, maximise top right, close bottom
/// left). The content and caption rectangles keep their margins inside the body whatever the
/// form's size, and the caption rectangle's height becomes the form's caption height at every
/// layout. A null texture (a resolver may give one) leaves its pictures out. The textures
/// belong to the resolver's cache; the appearance keeps no state per form.
class CSkinFormAppearance : public CFormAppearance
{
public:
    CSkinFormAppearance();
    ~CSkinFormAppearance() override;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create();

    /// Numbers default to 0; texture names go through the resolver (an empty resolver throws
    /// boost::bad_function_call at "Texture").
    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    /// Framed: the body's margins around the content taken off the form; otherwise the form.
    void GetClientRect(canvas::Rect2f& out, CControl* control) override;
    /// Framed only: the caption height from the caption rectangle, then boxes of side caption
    /// height - 4 placed from the caption's right end, 2 above its top; close, then s + 4 to
    /// the left maximise, then s + 2 further roll-up.
    void Layout(CControl* control) override;

    const canvas::Rect2f& GetBodyRect() const { return bodyRect_; }
    const canvas::Rect2f& GetContentRect() const { return contentRect_; }
    const canvas::Rect2f& GetCaptionRect() const { return captionRect_; }
    ITexture* GetTexture() const { return texture_; }
    ITexture* GetButtonTexture() const { return buttonTexture_; }

protected:
    void DrawFrame(CForm* form, canvas::CCanvas* canvas) override;

private:
    /// The caption's left offset inside the body and its width on a form of `width`.
    float CaptionLeft() const;
    float CaptionWidth(float width) const;

    ITexture* texture_ = nullptr;
    canvas::Rect2f bodyRect_;
    canvas::Rect2f contentRect_;
    canvas::Rect2f captionRect_;
    ITexture* buttonTexture_ = nullptr;
};

} // namespace korvane::mwt
