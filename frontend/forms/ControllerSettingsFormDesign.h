/** @file ControllerSettingsFormDesign.h The layout of the controller settings menu. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Label.h"
#include "frontend/forms/SettingsFormDesign.h"

/// "ControllerSettingsForm", in the options menu's look on a darkened band: one entry per device kind, then Exit.
class CControllerSettingsFormDesign : public CSettingsFormDesign
{
public:
    CControllerSettingsFormDesign();
    ~CControllerSettingsFormDesign() override;

    void InitializeComponent(korvane::CTextureCache* cache) override;

    boost::shared_ptr<korvane::mwt::CButton> KeyboardButton;
    boost::shared_ptr<korvane::mwt::CButton> DirectInputButton;
    boost::shared_ptr<korvane::mwt::CButton> XInputButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
