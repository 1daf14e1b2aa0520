/** @file WallpaperForm.cpp The full-screen backdrop. */
#include "frontend/forms/WallpaperForm.h"

#include "frontend/forms/FormSceneLink.h"

CWallpaperForm::CWallpaperForm(const std::string& path) : path_(path)
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
}

CWallpaperForm::~CWallpaperForm() = default;

void CWallpaperForm::OnInitialized(korvane::mwt::CForm*)
{
    korvane::CTextureCache* cache = CFormSceneLink::GetFormCache();
    InitializeComponent(cache);
    Image->SetImagePath(path_);
    Image->SetTexture(CFormSceneLink::LoadTexture(cache, path_));
}

void CWallpaperForm::OnOpened(korvane::mwt::CForm*)
{
    SendToBack();
}
