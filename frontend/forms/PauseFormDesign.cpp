/** @file PauseFormDesign.cpp The layout of the pause menu. */
#include "frontend/forms/PauseFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CPauseFormDesign::CPauseFormDesign() = default;
CPauseFormDesign::~CPauseFormDesign() = default;

korvane::CTextureCache* CPauseFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CPauseFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    FormSetup setup;
    setup.name = "PauseForm";
    setup.tint = korvane::Color4<float>(0.0f, 0.25f, 0.7375f, 0.6625f);
    setup.appearance = kAppearanceSolidColor;
    setup.openAnimation = kAnimationFadeIn;
    setup.closeAnimation = kAnimationFadeOut;
    ApplyFormSetup(*this, setup);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.1875f);
    AddControl(Image1);
    ContinueButton = MakeButton("ContinueButton", {756.0f, 504.0f, 352.0f, 32.0f}, " Continue");
    AddControl(ContinueButton);
    ExitButton = MakeButton("ExitButton", {756.0f, 568.0f, 368.0f, 32.0f}, " Exit To Main Menu");
    AddControl(ExitButton);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 436.0f, 692.0f, 16.0f}, 0.625f);
    AddControl(Image2);
    Label1 = MakeLabel("Label1", {636.0f, 412.0f, 197.0f, 31.0f}, "PAUSED", kFontAsciiLarge);
    AddControl(Label1);
}
