/** @file ControllerSettingsFormDesign.cpp The layout of the controller settings menu. */
#include "frontend/forms/ControllerSettingsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

CControllerSettingsFormDesign::CControllerSettingsFormDesign() = default;
CControllerSettingsFormDesign::~CControllerSettingsFormDesign() = default;

korvane::CTextureCache* CControllerSettingsFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CControllerSettingsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    ApplySettingsFormSetup(*this, "ControllerSettingsForm", false);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    AddControl(Image1);
    KeyboardButton = MakeMenuButton("KeyboardButton", {688.0f, 200.0f, 352.0f, 32.0f}, " Keyboard Mapping");
    AddControl(KeyboardButton);
    DirectInputButton = MakeMenuButton("DirectInputButton", {688.0f, 256.0f, 432.0f, 32.0f}, " Direct-Input Mapping");
    AddControl(DirectInputButton);
    XInputButton = MakeMenuButton("XInputButton", {688.0f, 312.0f, 336.0f, 32.0f}, " X-Input Mapping");
    AddControl(XInputButton);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 408.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    AddControl(Image2);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 445.0f, 31.0f}, "CONTROLLER SETTINGS", kFontAsciiLarge);
    AddControl(Label1);
}
