/** @file ScreenSettingsFormDesign.cpp The layout of the screen settings screen. */
#include "frontend/forms/ScreenSettingsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

CScreenSettingsFormDesign::CScreenSettingsFormDesign() = default;
CScreenSettingsFormDesign::~CScreenSettingsFormDesign() = default;

void CScreenSettingsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    cache = BeginSettingsLayout(cache, "ScreenSettingsForm", true, true);
    DefaultButton = MakeMenuButton("DefaultButton", {1168.0f, 840.0f, 192.0f, 32.0f}, " Default");
    AddControl(DefaultButton);
    ExitButton = MakeMenuButton("ExitButton", {688.0f, 552.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    ScreenModeSelector = MakeSelector("ScreenModeSelector", {1044.0f, 196.0f, 256.0f, 32.0f}, kFontMessage, 10);
    AddControl(ScreenModeSelector);
    ScreenModeLabel = MakeRowLabel("ScreenModeLabel", {688.0f, 200.0f, 296.0f, 32.0f}, " MODE", 10);
    AddControl(ScreenModeLabel);
    ScreenSizeSelector = MakeSelector("ScreenSizeSelector", {944.0f, 252.0f, 360.0f, 32.0f}, kFontMessage, 20);
    AddControl(ScreenSizeSelector);
    Label2 = MakeRowLabel("Label2", {688.0f, 256.0f, 256.0f, 32.0f}, " RESOLUTION", 20);
    AddControl(Label2);
    AddCaptionRule(cache, true);
    Label3 = MakeLabel("Label3", {636.0f, 104.0f, 448.0f, 31.0f}, "SCREEN SETTINGS", kFontAsciiLarge);
    AddControl(Label3);
    WallpaperBrightnessLabel =
        MakeRowLabel("WallpaperBrightnessLabel", {1168.0f, 944.0f, 496.0f, 32.0f}, " WALLPAPER BRIGHTNESS", 100);
    AddControl(WallpaperBrightnessLabel);
    WallpaperBrightnessSelector =
        MakeSelector("WallpaperBrightnessSelector", {1656.0f, 940.0f, 124.0f, 32.0f}, kFontMessage, 100);
    AddControl(WallpaperBrightnessSelector);
    RotateLabel = MakeRowLabel("RotateLabel", {688.0f, 360.0f, 336.0f, 32.0f}, " ROTATE SCREEN", 200);
    AddControl(RotateLabel);
    RotateSelector = MakeSelector("RotateSelector", {1080.0f, 356.0f, 220.0f, 36.0f}, kFontMessage, 200);
    AddControl(RotateSelector);
    Label1 = MakeRowLabel("Label1", {688.0f, 412.0f, 336.0f, 32.0f}, " ASPECT RATIO", 210);
    AddControl(Label1);
    AspectRatioSelector = MakeSelector("AspectRatioSelector", {1080.0f, 408.0f, 216.0f, 32.0f}, kFontMessage, 210);
    AddControl(AspectRatioSelector);
}
