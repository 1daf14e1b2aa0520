/** @file LogoSplashFormDesign.h The layout of the first screen: the two makers' logos on white. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "LogoSplashForm": white, group 1000, fading in and out over 0.45 s.
class CLogoSplashFormDesign : public korvane::mwt::CForm
{
public:
    CLogoSplashFormDesign();
    ~CLogoSplashFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image;
    boost::shared_ptr<korvane::mwt::CImage> Image1;
};
