/** @file KeyMappingFormDesign.h The layout of the key mapping screen. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "frontend/forms/SettingsFormDesign.h"

/// "KeyMappingForm": four play-button rows on the form, the three system rows in their own
/// panel, DEFAULT, Exit and two hint lines.
class CKeyMappingFormDesign : public CSettingsFormDesign
{
public:
    CKeyMappingFormDesign();
    ~CKeyMappingFormDesign() override;

    void InitializeComponent(korvane::CTextureCache* cache) override;

    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CLabel> FormCaptionLabel;
    boost::shared_ptr<korvane::mwt::CLabel> FrontShotLabel;
    boost::shared_ptr<korvane::mwt::CLabel> WideShotLabel;
    boost::shared_ptr<korvane::mwt::CLabel> ShieldLabel;
    boost::shared_ptr<korvane::mwt::CButton> DefaultButton;
    boost::shared_ptr<korvane::mwt::CLabel> FrontShotKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> WideShotKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> ShieldKeyLabel;
    boost::shared_ptr<korvane::mwt::CPanel> SystemKeyPanel;
    boost::shared_ptr<korvane::mwt::CLabel> OkLabel;
    boost::shared_ptr<korvane::mwt::CLabel> CancelLabel;
    boost::shared_ptr<korvane::mwt::CLabel> PauseLabel;
    boost::shared_ptr<korvane::mwt::CLabel> PauseKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> CancelKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> OkKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> SuperShotLabel;
    boost::shared_ptr<korvane::mwt::CLabel> SuperShotKeyLabel;
    boost::shared_ptr<korvane::mwt::CLabel> HintLabel1;
    boost::shared_ptr<korvane::mwt::CLabel> HintLabel2;
};
