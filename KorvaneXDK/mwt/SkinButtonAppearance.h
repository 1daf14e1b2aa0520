/** @file SkinButtonAppearance.h A button body cut from two pictures of an appearance definition: up and down. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Named "SkinButton". Keys, in reading order: "BodyRect.left", "BodyRect.top",
/// "BodyRect.width", "BodyRect.height" (default "0"), "Texture", "DownTexture" (default empty
/// name). Draws the nine-piece skin of the down picture while pressed, of the up picture
/// otherwise, at half opacity when the button is disabled; a picture the resolver gave as null
/// is not drawn, so one bad definition cannot stop the rest of the screen from drawing.
class CSkinButtonAppearance : public TControlAppearance<CButton>
{
public:
    CSkinButtonAppearance();
    ~CSkinButtonAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

    ITexture* GetTexture() const { return texture_; }
    ITexture* GetDownTexture() const { return downTexture_; }
    const canvas::Rect2f& GetBodyRect() const { return bodyRect_; }

private:
    ITexture* texture_ = nullptr;
    ITexture* downTexture_ = nullptr;
    canvas::Rect2f bodyRect_;
};

} // namespace korvane::mwt
