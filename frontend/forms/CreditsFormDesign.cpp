/** @file CreditsFormDesign.cpp The layout of the credits screen. */
#include "frontend/forms/CreditsFormDesign.h"

#include <string>

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

CCreditsFormDesign::CCreditsFormDesign() = default;
CCreditsFormDesign::~CCreditsFormDesign() = default;

korvane::CTextureCache* CCreditsFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CCreditsFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    FormSetup setup;
    setup.name = "CreditsForm";
    setup.tint = korvane::Color4<float>(0.3f, 0.3f, 0.3f, 0.6f);
    setup.appearance = kAppearanceSkinForm;
    setup.group = kGroupKeyed;
    setup.formStyle = 0;
    ApplyFormSetup(*this, setup);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    AddControl(Image1);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    AddControl(Image2);
    Label1 = MakeLabel("Label1", {636.0f, 104.0f, 245.0f, 31.0f}, "CREDITS", kFontAsciiLarge);
    AddControl(Label1);
    // A plain control, not a panel: a panel is a container, and an empty container has no
    // focused leaf, so the window scene would hand the form no keys at all.
    KeyPanel.reset(new korvane::mwt::CControl("KeyPanel"));
    SetAppearanceByName(*KeyPanel, kAppearanceTransparent);
    KeyPanel->SetLocation(korvane::Vector2<float>(636.0f, 180.0f));
    KeyPanel->SetSize(korvane::Vector2<float>(1.0f, 1.0f));
    KeyPanel->SetFocusable(true);
    AddControl(KeyPanel);
    for (int i = 0; i < kLineCount; ++i) {
        Lines[static_cast<std::size_t>(i)] =
            MakeLabel("Line" + std::to_string(i + 1), {660.0f, 200.0f + 48.0f * static_cast<float>(i), 620.0f, 32.0f},
                      "", kFontMessage);
        AddControl(Lines[static_cast<std::size_t>(i)]);
    }
}
