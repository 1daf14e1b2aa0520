/** @file CropSkinProgressBarAppearance.h The progress bar that reveals its down picture up to the fraction. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/ProgressBar.h"

namespace korvane::mwt
{

/// Keys "Texture" (background), "DownTexture" (filled part). In the control's colour and blend
/// mode: the background stretched over the control, then the down picture at the scale it has
/// over the whole control, cut off at the fraction. Without a down picture the draw fails with
/// the canvas's "texture is null.".
class CCropSkinProgressBarAppearance : public TControlAppearance<CProgressBar>
{
public:
    CCropSkinProgressBarAppearance();
    ~CCropSkinProgressBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

private:
    ITexture* texture_ = nullptr;
    ITexture* downTexture_ = nullptr;
};

} // namespace korvane::mwt
