/** @file SkinAppearance.h The appearance of a nine-piece skin cut from one texture. */
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

/// Named "Skin" (registered as "CSkinAppearance"); serves every control and exists only as
/// loaded definitions. Keys: "BodyRect.left", "BodyRect.top", "BodyRect.width", "BodyRect.height"
/// (the part of the texture, in texels, that covers the control; the rest reaches beyond its
/// edges) and "Texture". Draws the nine-piece skin of the body rectangle over {0, 0, w, h}; the brush is not
/// touched, so a disabled control draws unchanged.
/// With no texture (the resolver gave none) it draws nothing, so one bad definition cannot stop
/// the rest of the screen from drawing.
class CSkinAppearance : public TControlAppearance<CControl>
{
public:
    CSkinAppearance();
    ~CSkinAppearance() override;

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
