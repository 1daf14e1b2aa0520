/** @file ColorFlashFormDesign.cpp The layout of the flash. */
#include "frontend/forms/ColorFlashFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CColorFlashFormDesign::CColorFlashFormDesign() = default;
CColorFlashFormDesign::~CColorFlashFormDesign() = default;

korvane::CTextureCache* CColorFlashFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CColorFlashFormDesign::InitializeComponent(korvane::CTextureCache*)
{
    FormSetup setup;
    setup.name = "ColorFlashForm";
    setup.tint = korvane::Color4<float>(1.0f, 1.0f, 1.0f, 1.0f);
    setup.appearance = form_names::kAppearanceSolidColor;
    setup.openAnimation = form_names::kAnimationVerticalCenterOpen;
    setup.closeAnimation = form_names::kAnimationSpreadOut;
    setup.group = form_names::kGroupKeyed;
    // The opener focuses itself right after adding the flash: it must not be a focus target.
    setup.focusable = false;
    ApplyFormSetup(*this, setup);
}
