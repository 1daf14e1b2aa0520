/** @file LogoSplashFormDesign.cpp The layout of the logo splash. */
#include "frontend/forms/LogoSplashFormDesign.h"

#include "frontend/forms/FadeAnimation.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CLogoSplashFormDesign::CLogoSplashFormDesign() = default;
CLogoSplashFormDesign::~CLogoSplashFormDesign() = default;

korvane::CTextureCache* CLogoSplashFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CLogoSplashFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    FormSetup setup;
    setup.name = "LogoSplashForm";
    setup.tint = korvane::Color4<float>(1.0f, 1.0f, 1.0f, 1.0f);
    setup.appearance = form_names::kAppearanceSolidColor;
    setup.group = form_names::kGroupKeyed;
    ApplyFormSetup(*this, setup);
    OpenAnimationFactory = &CreateSplashFadeIn;
    CloseAnimationFactory = &CreateSplashFadeOut;

    // Both logos take their pictures' own size. Focusable, yet never focused: the screen never gives a
    // splash its focus, so decide and cancel stay for the splash's own skip rule.
    Image = MakeImage(cache, "Image", form_names::kImageMakerLogo, {740.0f, 440.0f, 439.0f, 200.0f}, 1.0f, true);
    Image->SetFocusable(true);
    AddControl(Image);
    Image1 = MakeImage(cache, "Image1", form_names::kImageStudioLogo, {832.0f, 900.0f, 260.0f, 128.0f}, 1.0f, true);
    Image1->SetFocusable(true);
    AddControl(Image1);
}
