/** @file ScreenSettingsFormDesign.h The layout of the screen settings screen. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Label.h"
#include "frontend/forms/SettingsFormDesign.h"

/// "ScreenSettingsForm": mode, resolution, rotation and aspect rows, Exit (and a hidden Default
/// and wallpaper brightness row).
class CScreenSettingsFormDesign : public CSettingsFormDesign
{
public:
    CScreenSettingsFormDesign();
    ~CScreenSettingsFormDesign() override;

    void InitializeComponent(korvane::CTextureCache* cache) override;

    boost::shared_ptr<korvane::mwt::CButton> DefaultButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> ScreenModeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> ScreenModeLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> ScreenSizeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Label2;
    boost::shared_ptr<korvane::mwt::CLabel> Label3;
    boost::shared_ptr<korvane::mwt::CLabel> WallpaperBrightnessLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> WallpaperBrightnessSelector;
    boost::shared_ptr<korvane::mwt::CLabel> RotateLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> RotateSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> AspectRatioSelector;
};
