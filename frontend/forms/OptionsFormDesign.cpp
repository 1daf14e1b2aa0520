/** @file OptionsFormDesign.cpp The layout of the options menu. */
#include "frontend/forms/OptionsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

COptionsFormDesign::COptionsFormDesign() = default;
COptionsFormDesign::~COptionsFormDesign() = default;

korvane::CTextureCache* COptionsFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void COptionsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    ApplySettingsFormSetup(*this, "OptionsForm", false);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    AddControl(Image1);
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
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    AddControl(Image2);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 205.0f, 31.0f}, "OPTIONS", kFontAsciiLarge);
    AddControl(Label1);
}
