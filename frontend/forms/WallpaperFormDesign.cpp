/** @file WallpaperFormDesign.cpp The layout of the full-screen backdrop. */
#include "frontend/forms/WallpaperFormDesign.h"

#include "frontend/forms/FadeAnimation.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CWallpaperFormDesign::CWallpaperFormDesign() = default;
CWallpaperFormDesign::~CWallpaperFormDesign() = default;

korvane::CTextureCache* CWallpaperFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CWallpaperFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    (void)cache; // the picture comes from the form, not the design
    FormSetup setup;
    setup.name = "WallpaperForm";
    setup.tint = korvane::Color4<float>(0.0f, 0.0f, 0.0f, 0.0f);
    setup.appearance = form_names::kAppearanceTransparent;
    setup.group = form_names::kGroupKeyed;
    setup.focusable = false;
    ApplyFormSetup(*this, setup);
    OpenAnimationFactory = &CreateWallpaperFadeIn;
    CloseAnimationFactory = &CreateWallpaperFadeOut;

    Image.reset(new korvane::mwt::CImage("Image"));
    Image->SetLocation(korvane::Vector2<float>(0.0f, 0.0f));
    Image->SetSize(korvane::Vector2<float>(1920.0f, 1080.0f));
    Image->SetDock(korvane::mwt::CControl::kDockFill);
    // Focusable, yet never focused: the form around it never takes the screen's focus.
    Image->SetFocusable(true);
    Image->SetImageFlag(true);
    Image->SetAutoSize(false);
    AddControl(Image);
}
