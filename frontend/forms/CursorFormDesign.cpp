/** @file CursorFormDesign.cpp The layout of the on-screen pointer. */
#include "frontend/forms/CursorFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CCursorFormDesign::CCursorFormDesign() = default;
CCursorFormDesign::~CCursorFormDesign() = default;

korvane::CTextureCache* CCursorFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CCursorFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    FormSetup setup;
    setup.name = "CursorForm";
    setup.tint = korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f);
    setup.appearance = form_names::kAppearanceSkinForm;
    setup.formStyle = 0;
    setup.topMost = true;
    setup.bounds = korvane::canvas::Rect2f(1125.0f, 590.0f, 64.0f, 64.0f);
    ApplyFormSetup(*this, setup);
    // The pointer sits where the window scene puts it, not docked to the screen.
    SetDock(korvane::mwt::CControl::kDockNone);
    // The pointer hears no keys; the window scene moves it.
    SetKeyPreview(false);

    CursorImage = MakeImage(cache, "CursorImage", form_names::kImageCursor, {0.0f, 0.0f, 64.0f, 64.0f}, 1.0f, true);
    // Unlike the menus' pictures the pointer's is focusable; the form is disabled once built, so it never takes the
    // focus from a menu.
    CursorImage->SetFocusable(true);
    AddControl(CursorImage);
}
