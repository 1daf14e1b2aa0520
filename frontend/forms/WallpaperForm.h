/** @file WallpaperForm.h The full-screen backdrop form (a plain stand-in until the menus' own). */
#pragma once

#include <string>

#include "KorvaneXDK/mwt/Form.h"

/// A 1920 x 1080 form at the back of the screen, named after its picture.
class CWallpaperForm : public korvane::mwt::CForm
{
public:
    explicit CWallpaperForm(const std::string& path);
    ~CWallpaperForm() override;

    const std::string& GetImagePath() const { return path_; }

private:
    std::string path_;
};
