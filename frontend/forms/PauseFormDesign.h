/** @file PauseFormDesign.h The layout of the menu shown while a game is paused. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "PauseForm": a blue translucent layer with the menu band, Continue and Exit To Main Menu,
/// fading in and out.
class CPauseFormDesign : public korvane::mwt::CForm
{
public:
    CPauseFormDesign();
    ~CPauseFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CButton> ContinueButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
