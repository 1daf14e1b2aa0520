/** @file ControllerSettingsFormDesign.cpp The layout of the controller settings menu. */
#include "frontend/forms/ControllerSettingsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

CControllerSettingsFormDesign::CControllerSettingsFormDesign() = default;
CControllerSettingsFormDesign::~CControllerSettingsFormDesign() = default;

void CControllerSettingsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    cache = BeginSettingsLayout(cache, "ControllerSettingsForm", false);
    // The band darkens the wallpaper instead of lightening it: an entry dimmed for want of a controller is white at
    // half strength, which stands out enough only from a near-black ground.
    Image1->SetColor(korvane::Color4<float>(0.0f, 0.0f, 0.0f, 1.0f));
    KeyboardButton = MakeMenuButton("KeyboardButton", {688.0f, 200.0f, 352.0f, 32.0f}, " Keyboard Mapping");
    AddControl(KeyboardButton);
    DirectInputButton = MakeMenuButton("DirectInputButton", {688.0f, 256.0f, 432.0f, 32.0f}, " Direct-Input Mapping");
    AddControl(DirectInputButton);
    XInputButton = MakeMenuButton("XInputButton", {688.0f, 312.0f, 336.0f, 32.0f}, " X-Input Mapping");
    AddControl(XInputButton);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 408.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    AddCaptionRule(cache);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 445.0f, 31.0f}, "CONTROLLER SETTINGS", kFontAsciiLarge);
    AddControl(Label1);
}
