/** @file VerticalSkinAppearance.h The appearance of a skin stretched down: two caps and a middle. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane
{
class ITexture;
} // namespace korvane

namespace korvane::mwt
{

/// Named "VerticalSkin" (registered as "CVerticalSkinAppearance"); serves every control and exists only as
/// loaded definitions. Keys: "BodyRect.left", "BodyRect.top", "BodyRect.width", "BodyRect.height"
/// (the part of the texture, in texels, that covers the control; the rest reaches beyond its
/// edges) and "Texture". Draws the vertical three-piece skin (the texture's width kept, the body centred
/// horizontally) over {0, 0, w, h}, at half opacity while the control is disabled.
/// With no texture (the resolver gave none) it draws nothing, so one bad definition cannot stop
/// the rest of the screen from drawing.
class CVerticalSkinAppearance : public TControlAppearance<CControl>
{
public:
    CVerticalSkinAppearance();
    ~CVerticalSkinAppearance() override;

    /// A new instance (the registry's creation function).
    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

    /// Not owned: the resolver's owner (the texture cache) keeps it alive.
    ITexture* GetTexture() const { return texture_; }
    const canvas::Rect2f& GetBodyRect() const { return bodyRect_; }

private:
    ITexture* texture_ = nullptr;
    canvas::Rect2f bodyRect_;
};

} // namespace korvane::mwt
