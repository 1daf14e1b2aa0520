/** @file SkinTrackBarAppearance.h The track bar drawn with a skinned track and a button picture. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"
#include "KorvaneXDK/mwt/TrackBar.h"

namespace korvane::mwt
{

/// Keys "BodyRect.*", "Texture", "ButtonTexture", "ButtonDownTexture". Layout: the track is the
/// whole control, the button as long as the button picture's aspect ratio gives at the cross
/// size (half the cross size without a usable picture). Draw: the track skin over the middle
/// third, four units short of each end, then the button picture (the down one while the button
/// is pressed); 0.3 opacity when disabled. A missing picture is left out.
class CSkinTrackBarAppearance : public TControlAppearance<CTrackBar>
{
public:
    CSkinTrackBarAppearance();
    ~CSkinTrackBarAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Layout(CControl* control) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

private:
    ITexture* texture_ = nullptr;
    canvas::Rect2f bodyRect_;
    ITexture* buttonTexture_ = nullptr;
    ITexture* buttonDownTexture_ = nullptr;
};

} // namespace korvane::mwt
