/** @file WallpaperFormDesign.h The layout of the full-screen backdrop behind every menu and game. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "WallpaperForm": transparent, never focused, group 1000, one full-screen image without a
/// picture (the form gives it one), fading in and out over 0.5 s.
class CWallpaperFormDesign : public korvane::mwt::CForm
{
public:
    CWallpaperFormDesign();
    ~CWallpaperFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image;
};
