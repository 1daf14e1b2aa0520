/** @file SoundSettingsFormDesign.cpp The layout of the sound settings screen. */
#include "frontend/forms/SoundSettingsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

CSoundSettingsFormDesign::CSoundSettingsFormDesign() = default;
CSoundSettingsFormDesign::~CSoundSettingsFormDesign() = default;

void CSoundSettingsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    cache = BeginSettingsLayout(cache, "SoundSettingsForm", true);
    DefaultButton = MakeMenuButton("DefaultButton", {688.0f, 448.0f, 192.0f, 32.0f}, " Default");
    AddControl(DefaultButton);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 544.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    MusicVolumeSelector = MakeSelector("MusicVolumeSelector", {1064.0f, 200.0f, 168.0f, 32.0f}, kFontAsciiMedium, 10);
    AddControl(MusicVolumeSelector);
    MusicVolumeLabel = MakeRowLabel("MusicVolumeLabel", {688.0f, 200.0f, 296.0f, 32.0f}, " Music Volume", 10);
    AddControl(MusicVolumeLabel);
    SoundVolumeSelector = MakeSelector("SoundVolumeSelector", {1064.0f, 256.0f, 168.0f, 32.0f}, kFontAsciiMedium, 20);
    AddControl(SoundVolumeSelector);
    Label2 = MakeRowLabel("Label2", {688.0f, 256.0f, 304.0f, 32.0f}, " Sound Volume", 20);
    AddControl(Label2);
    AddCaptionRule(cache);
    Label3 = MakeLabel("Label3", {636.0f, 104.0f, 415.0f, 31.0f}, "SOUND SETTINGS", kFontAsciiLarge);
    AddControl(Label3);
    Label1 = MakeRowLabel("Label1", {688.0f, 352.0f, 296.0f, 32.0f}, " Music VER.", 100);
    AddControl(Label1);
    MusicVersionSelector = MakeSelector("MusicVersionSelector", {920.0f, 348.0f, 384.0f, 32.0f}, kFontMessage, 100);
    AddControl(MusicVersionSelector);
}
