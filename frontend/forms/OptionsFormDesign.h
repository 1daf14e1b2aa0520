/** @file OptionsFormDesign.h The layout of the options menu. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Label.h"
#include "frontend/forms/SettingsFormDesign.h"

/// "OptionsForm": the band, screen, sound and controller settings, Initialize, Exit, the caption rule and "OPTIONS".
class COptionsFormDesign : public CSettingsFormDesign
{
public:
    COptionsFormDesign();
    ~COptionsFormDesign() override;

    void InitializeComponent(korvane::CTextureCache* cache) override;

    boost::shared_ptr<korvane::mwt::CButton> ScreenSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> SoundSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> ControllerSettingsButton;
    boost::shared_ptr<korvane::mwt::CButton> InitializeButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
