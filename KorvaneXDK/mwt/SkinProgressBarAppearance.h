/** @file SkinProgressBarAppearance.h The progress bar drawn with a pulsing nine-piece skin over the filled part. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/ProgressBar.h"

namespace korvane::mwt
{

/// Keys "BodyRect.*", "Texture" (background), "DownTexture" (filled part). The background skin
/// over the whole control, then the down skin stretched over the filled part at an opacity
/// pulsing between 0.7 and 1.0 once a second by the canvas clock. A missing picture is left out.
class CSkinProgressBarAppearance : public TControlAppearance<CProgressBar>
{
public:
    CSkinProgressBarAppearance();
    ~CSkinProgressBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

private:
    ITexture* texture_ = nullptr;
    ITexture* downTexture_ = nullptr;
    canvas::Rect2f bodyRect_;
};

} // namespace korvane::mwt
