/** @file WallpaperForm.cpp The full-screen backdrop form. */
#include "frontend/forms/WallpaperForm.h"

CWallpaperForm::CWallpaperForm(const std::string& path) : korvane::mwt::CForm("WallpaperForm"), path_(path)
{
    SetSize(korvane::Vector2<float>(1920.0f, 1080.0f));
    OpenedEvent = [](korvane::mwt::CForm* form) { form->SendToBack(); };
}

CWallpaperForm::~CWallpaperForm() = default;
