/** @file SoundSettingsFormDesign.h The layout of the sound settings screen. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Label.h"
#include "frontend/forms/SettingsFormDesign.h"

/// "SoundSettingsForm": music volume, sound volume and music version rows, Default and Exit.
/// Each row is a focusable label and a selector of the same group.
class CSoundSettingsFormDesign : public CSettingsFormDesign
{
public:
    CSoundSettingsFormDesign();
    ~CSoundSettingsFormDesign() override;

    void InitializeComponent(korvane::CTextureCache* cache) override;

    boost::shared_ptr<korvane::mwt::CButton> DefaultButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> MusicVolumeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> MusicVolumeLabel;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> SoundVolumeSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Label2;
    boost::shared_ptr<korvane::mwt::CLabel> Label3;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> MusicVersionSelector;
};
