/** @file ScreenSettingsFormDesign.h The layout of the screen settings screen. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "ScreenSettingsForm": mode, resolution, rotation and aspect rows, Exit (and a hidden Default
/// and wallpaper brightness row).
class CScreenSettingsFormDesign : public korvane::mwt::CForm
{
public:
    CScreenSettingsFormDesign();
    ~CScreenSettingsFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CButton> DefaultButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> ScreenModeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> ScreenModeLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> ScreenSizeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Label2;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label3;
    boost::shared_ptr<korvane::mwt::CLabel> WallpaperBrightnessLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> WallpaperBrightnessSelector;
    boost::shared_ptr<korvane::mwt::CLabel> RotateLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> RotateSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> AspectRatioSelector;
};
