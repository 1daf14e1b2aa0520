/** @file SoundSettingsForm.cpp The sound settings screen. */
#include "frontend/forms/SoundSettingsForm.h"

#include <cstdlib>

#include "KorvaneXDK/core/StringUtility.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/OptionsForm.h"

using korvane::mwt::CControl;
using korvane::mwt::CForm;
using korvane::mwt::CHorizontalSelector;

CSoundSettingsForm::CSoundSettingsForm()
{
    InitializedEvent = [this](CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CSoundSettingsForm::~CSoundSettingsForm() = default;

int CSoundSettingsForm::VolumeToIndex(int volume)
{
    return (100 - std::abs(volume / 100)) / 5;
}

int CSoundSettingsForm::IndexToVolume(int index)
{
    return (index - (kVolumeSteps - 1)) * 500;
}

void CSoundSettingsForm::OnInitialized(CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    DefaultButton->ClickEvent = [this](CControl* sender) { OnDefault(sender); };
    ExitButton->ClickEvent = [this](CControl* sender) { OnExit(sender); };
    for (int step = 0; step < kVolumeSteps; ++step) {
        const std::string text = korvane::IntToString(step * 5);
        MusicVolumeSelector->GetItems().push_back(text);
        SoundVolumeSelector->GetItems().push_back(text);
    }
    // Bound before the start values are chosen: a volume off index 0 is stored again as its
    // step's exact value, with the cursor sound.
    MusicVolumeSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnMusicVolumeChanged(sender); };
    SoundVolumeSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) { OnSoundVolumeChanged(sender); };
    MusicVolumeSelector->SetSelectedIndex(VolumeToIndex(CFormSceneLink::GetMusicVolume()));
    SoundVolumeSelector->SetSelectedIndex(VolumeToIndex(CFormSceneLink::GetEffectVolume()));
    MusicVersionSelector->GetItems().push_back("Extended(Area21-)");
    MusicVersionSelector->GetItems().push_back("Original");
    MusicVersionSelector->SetSelectedIndex(CFormSceneLink::GetMusicVersion() == 0 ? 1 : 0);
    MusicVersionSelector->SelectionChangedEvent = [this](CHorizontalSelector* sender) {
        OnMusicVersionChanged(sender);
    };
}

void CSoundSettingsForm::OnOpened(CForm*)
{
    BringToFront();
    CForm::SetFocus();
    MusicVolumeLabel->SetFocus();
}

void CSoundSettingsForm::OnKeyDown(CControl* sender, unsigned int key)
{
    if (IsClosing()) {
        return;
    }
    MenuCancel(*this, key, ExitButton.get(), [this, sender] { OnExit(sender); });
}

void CSoundSettingsForm::OnMusicVolumeChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    // Stores the value and reaches the music playing now, if any.
    CFormSceneLink::SetMusicVolume(IndexToVolume(MusicVolumeSelector->GetSelectedIndex()));
}

void CSoundSettingsForm::OnSoundVolumeChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    CFormSceneLink::SetEffectVolume(IndexToVolume(SoundVolumeSelector->GetSelectedIndex()));
}

void CSoundSettingsForm::OnMusicVersionChanged(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    CFormSceneLink::SetMusicVersion(MusicVersionSelector->GetSelectedIndex() == 0 ? 1 : 0);
}

void CSoundSettingsForm::OnDefault(CControl* sender)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    MusicVolumeSelector->SetSelectedIndex(static_cast<std::int32_t>(MusicVolumeSelector->GetItems().size()) - 1);
    OnMusicVolumeChanged(sender);
    SoundVolumeSelector->SetSelectedIndex(static_cast<std::int32_t>(SoundVolumeSelector->GetItems().size()) - 1);
    OnSoundVolumeChanged(sender);
    MusicVersionSelector->SetSelectedIndex(0);
    OnMusicVersionChanged(sender);
}

void CSoundSettingsForm::OnExit(CControl*)
{
    CFormSceneLink::PlaySound(EUiSound::Decide);
    Close();
    ShowForm(boost::shared_ptr<CForm>(new COptionsForm()));
}
