/** @file SoundSettingsForm.h The sound settings screen: the two volumes and the music version, applied at once. */
#pragma once

#include "frontend/forms/SoundSettingsFormDesign.h"

/// Reads the volumes and the music version when initialised and writes them on every change;
/// the preferences save them at exit. Exit and the cancel rule return to a new options menu.
class CSoundSettingsForm : public CSoundSettingsFormDesign
{
public:
    /// Volume steps: index 0 is silence (-10000), index 20 full volume (0).
    static constexpr int kVolumeSteps = 21;

    CSoundSettingsForm();
    ~CSoundSettingsForm() override;

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnMusicVolumeChanged(korvane::mwt::CControl* sender);
    virtual void OnSoundVolumeChanged(korvane::mwt::CControl* sender);
    virtual void OnMusicVersionChanged(korvane::mwt::CControl* sender);
    virtual void OnDefault(korvane::mwt::CControl* sender);
    virtual void OnExit(korvane::mwt::CControl* sender);

    /// The selector index of a stored volume (integer steps of 500, truncated).
    static int VolumeToIndex(int volume);
    /// The stored volume of a selector index.
    static int IndexToVolume(int index);
};
