/** @file TitleSplashFormDesign.cpp The layout of the title splash. */
#include "frontend/forms/TitleSplashFormDesign.h"

#include "frontend/forms/FadeAnimation.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CTitleSplashFormDesign::CTitleSplashFormDesign() = default;
CTitleSplashFormDesign::~CTitleSplashFormDesign() = default;

korvane::CTextureCache* CTitleSplashFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CTitleSplashFormDesign::InitializeComponent(korvane::CTextureCache*)
{
    FormSetup setup;
    setup.name = "TitleSplashForm";
    setup.tint = korvane::Color4<float>(0.0f, 0.0f, 0.0f, 1.0f);
    setup.appearance = form_names::kAppearanceSolidColor;
    setup.group = form_names::kGroupKeyed;
    ApplyFormSetup(*this, setup);
    OpenAnimationFactory = &CreateSplashFadeIn;
    CloseAnimationFactory = &CreateSplashFadeOut;

    const korvane::Color4<float> white(1.0f, 1.0f, 1.0f, 1.0f);
    const korvane::Color4<float> red(1.0f, 0.0f, 0.0f, 1.0f);
    Label1 =
        MakeLabel("Label1", {624.0f, 488.0f, 672.0f, 32.0f}, "VORTHENIX ZAMBRELLIOT", form_names::kFontTitle, white);
    Label2 = MakeLabel("Label2", {704.0f, 544.0f, 512.0f, 32.0f}, "- VESPERANTHOR -", form_names::kFontTitle, red);
    Label3 = MakeLabel("Label3", {896.0f, 680.0f, 128.0f, 32.0f}, "MMXV", form_names::kFontTitle, white);
    // Focusable, yet never focused: the screen never gives a splash its focus, so decide and cancel
    // stay for the splash's own skip rule.
    for (const auto& label : {Label1, Label2, Label3}) {
        label->SetFocusable(true);
        AddControl(label);
    }
}
