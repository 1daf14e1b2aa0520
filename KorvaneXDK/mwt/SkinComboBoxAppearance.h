/** @file SkinComboBoxAppearance.h The combo box drawn with nine-piece skins. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/canvas/Rect2f.h"
#include "KorvaneXDK/mwt/ComboBox.h"
#include "KorvaneXDK/mwt/ControlAppearance.h"

namespace korvane::mwt
{

/// Keys "BodyRect.*", "ButtonBodyRect.*", "Texture", "ButtonTexture", "ButtonDownTexture": the
/// text box skin, the 18-unit button skin overlapping it by one (the down picture while the
/// button is down), the dot, the text and the caret. A missing picture leaves its part out.
class CSkinComboBoxAppearance : public TControlAppearance<CComboBox>
{
public:
    CSkinComboBoxAppearance();
    ~CSkinComboBoxAppearance() override;

    static boost::shared_ptr<IControlAppearance> Create();

    void LoadProperties(const AppearanceProperties& properties, TextureResolver resolver) override;
    void Draw(CControl* control, canvas::CCanvas* canvas) override;

private:
    ITexture* texture_ = nullptr;
    canvas::Rect2f bodyRect_;
    ITexture* buttonTexture_ = nullptr;
    ITexture* buttonDownTexture_ = nullptr;
    canvas::Rect2f buttonBodyRect_;
};

} // namespace korvane::mwt
