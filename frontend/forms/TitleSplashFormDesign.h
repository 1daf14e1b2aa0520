/** @file TitleSplashFormDesign.h The layout of the second screen: the title on black. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "TitleSplashForm": black, group 1000, three title lines, fading in and out over 0.45 s.
class CTitleSplashFormDesign : public korvane::mwt::CForm
{
public:
    CTitleSplashFormDesign();
    ~CTitleSplashFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CLabel> Label2;
    boost::shared_ptr<korvane::mwt::CLabel> Label3;
};
