/** @file SettingsFormDesign.cpp What every options screen's layout starts from. */
#include "frontend/forms/SettingsFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/SettingsFormParts.h"

CSettingsFormDesign::CSettingsFormDesign() = default;
CSettingsFormDesign::~CSettingsFormDesign() = default;

korvane::CTextureCache* CSettingsFormDesign::GetTextureCache()
{
    return &textureCache_;
}

korvane::CTextureCache* CSettingsFormDesign::BeginSettingsLayout(korvane::CTextureCache* cache, const std::string& name,
                                                                 bool groupKeys, bool stretch)
{
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    ApplySettingsFormSetup(*this, name, groupKeys);

    Image1 = MakeImage(cache, "Image1", form_names::kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    if (stretch) {
        Image1->SetStretch(true);
    }
    AddControl(Image1);
    return cache;
}

void CSettingsFormDesign::AddCaptionRule(korvane::CTextureCache* cache, bool stretch)
{
    Image2 = MakeImage(cache, "Image2", form_names::kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    if (stretch) {
        Image2->SetStretch(true);
    }
    AddControl(Image2);
}
