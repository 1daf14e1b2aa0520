/** @file WallpaperForm.h The full-screen backdrop behind every menu and game. */
#pragma once

#include <string>

#include "frontend/forms/WallpaperFormDesign.h"

/// Shows one picture behind everything; a new wallpaper replaces it by a cross-fade.
class CWallpaperForm : public CWallpaperFormDesign
{
public:
    explicit CWallpaperForm(const std::string& path);
    ~CWallpaperForm() override;

    const std::string& GetPath() const { return path_; }
    const std::string& GetImagePath() const { return path_; }

    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);

private:
    std::string path_;
};
