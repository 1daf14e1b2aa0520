/** @file GameSelectFormDesign.cpp The layout of the title menu. */
#include "frontend/forms/GameSelectFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CGameSelectFormDesign::CGameSelectFormDesign() = default;
CGameSelectFormDesign::~CGameSelectFormDesign() = default;

korvane::CTextureCache* CGameSelectFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CGameSelectFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    FormSetup setup;
    setup.name = "GameSelectForm";
    setup.tint = korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f);
    setup.appearance = kAppearanceSkinForm;
    ApplyFormSetup(*this, setup);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    AddControl(Image1);
    MainGameButton = MakeButton("MainGameButton", {688.0f, 200.0f, 448.0f, 32.0f}, " Vorthenix Zambrelliot");
    AddControl(MainGameButton);
    CompanionGameButton = MakeButton("CompanionGameButton", {688.0f, 256.0f, 224.0f, 32.0f}, " Tessaril");
    AddControl(CompanionGameButton);
    OptionsButton = MakeButton("OptionsButton", {688.0f, 352.0f, 160.0f, 32.0f}, " Options");
    AddControl(OptionsButton);
    LeaderboardsButton = MakeButton("LeaderboardsButton", {688.0f, 408.0f, 256.0f, 32.0f}, " Leaderboards");
    AddControl(LeaderboardsButton);
    CreditsButton = MakeButton("CreditsButton", {688.0f, 464.0f, 160.0f, 32.0f}, " Credits");
    AddControl(CreditsButton);
    ExitButton = MakeButton("ExitButton", {688.0f, 560.0f, 96.0f, 32.0f}, " Exit");
    AddControl(ExitButton);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f});
    AddControl(Image2);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 245.0f, 31.0f}, "GAME SELECT", kFontAsciiLarge);
    AddControl(Label1);
}
