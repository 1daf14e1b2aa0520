/** @file OptionsFormDesign.h The layout of the options menu. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "OptionsForm": the band, screen, sound and controller settings, Initialize, Exit, the caption rule and "OPTIONS".
class COptionsFormDesign : public korvane::mwt::CForm
{
public:
    COptionsFormDesign();
    ~COptionsFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CButton> ScreenSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> SoundSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> ControllerSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> InitializeButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
