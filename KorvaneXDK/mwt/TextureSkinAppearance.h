/** @file TextureSkinAppearance.h The appearance of a skin cut from one texture around a body rectangle. */
#pragma once

#include <string>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane
{
class ITexture;
} // namespace korvane

namespace korvane::mwt
{

/// What the skin appearances share. Keys: "BodyRect.left", "BodyRect.top", "BodyRect.width", "BodyRect.height"
/// (the part of the texture, in texels, that covers the control; the rest reaches beyond its edges) and "Texture".
/// Draws the skin of the body rectangle over {0, 0, w, h} cut as the pieces say. The nine-piece skin leaves the
/// brush untouched, so a disabled control draws unchanged; the three-piece skins draw at half opacity while the
/// control is disabled.
/// With no texture (the resolver gave none) it draws nothing, so one bad definition cannot stop
/// the rest of the screen from drawing.
class CTextureSkinAppearance : public TControlAppearance<CControl>
{
public:
    /// How the texture is cut around the body rectangle.
    enum class EPieces
    {
        Nine,        ///< Corners, edges and middle.
        ThreeAcross, ///< Two caps and a middle across; the texture's height kept, the body centred vertically.
        ThreeDown,   ///< Two caps and a middle down; the texture's width kept, the body centred horizontally.
    };

    ~CTextureSkinAppearance() override;

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

    /// Not owned: the resolver's owner (the texture cache) keeps it alive.
    ITexture* GetTexture() const { return texture_; }
    const canvas::Rect2f& GetBodyRect() const { return bodyRect_; }

protected:
    CTextureSkinAppearance(const std::string& name, EPieces pieces);

private:
    EPieces pieces_;
    ITexture* texture_ = nullptr;
    canvas::Rect2f bodyRect_;
};

} // namespace korvane::mwt
