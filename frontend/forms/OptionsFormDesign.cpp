/** @file OptionsFormDesign.cpp The layout of the options menu. */
#include "frontend/forms/OptionsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

COptionsFormDesign::COptionsFormDesign() = default;
COptionsFormDesign::~COptionsFormDesign() = default;

void COptionsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    cache = BeginSettingsLayout(cache, "OptionsForm", false);
    ScreenSettingsButton = MakeMenuButton("ScreenSettingsButton", {688.0f, 200.0f, 352.0f, 32.0f}, " Screen Settings");
    AddControl(ScreenSettingsButton);
    SoundSettingsButton = MakeMenuButton("SoundSettingsButton", {688.0f, 256.0f, 336.0f, 32.0f}, " Sound Settings");
    AddControl(SoundSettingsButton);
    ControllerSettingsButton =
        MakeMenuButton("ControllerSettingsButton", {688.0f, 312.0f, 448.0f, 32.0f}, " Controller Settings");
    AddControl(ControllerSettingsButton);
    InitializeButton = MakeMenuButton("InitializeButton", {688.0f, 408.0f, 192.0f, 32.0f}, " Initialize");
    AddControl(InitializeButton);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 504.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    AddCaptionRule(cache);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 205.0f, 31.0f}, "OPTIONS", kFontAsciiLarge);
    AddControl(Label1);
}
