/** @file SkinScrollBarAppearance.h A scroll bar whose buttons and thumb are cut from two pictures: up and down. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/ScrollBar.h"

namespace korvane::mwt
{

/// Named "SkinScrollBar". Keys, in reading order: "BodyRect.left", "BodyRect.top",
/// "BodyRect.width", "BodyRect.height" (default "0"), "Texture", "DownTexture" (default empty
/// name), "MaxButtonSize" (default "128"). End buttons are square up to MaxButtonSize across the
/// bar; the shortest thumb is the bar's thickness. Buttons and thumb are nine-piece skins of the
/// down picture while pressed, else of the up picture; a picture the resolver gave as null is
/// not drawn. The track parts are plain boxes, bright while pressed.
class CSkinScrollBarAppearance : public TControlAppearance<CScrollBar>
{
public:
    CSkinScrollBarAppearance();
    ~CSkinScrollBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Layout(CControl* control) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

    ITexture* GetTexture() const { return texture_; }
    ITexture* GetDownTexture() const { return downTexture_; }
    const canvas::Rect2f& GetBodyRect() const { return bodyRect_; }
    float GetMaxButtonSize() const { return maxButtonSize_; }

private:
    ITexture* texture_ = nullptr;
    ITexture* downTexture_ = nullptr;
    canvas::Rect2f bodyRect_;
    float maxButtonSize_ = 128.0f;
};

} // namespace korvane::mwt
