/** @file CursorFormDesign.h The layout of the on-screen pointer the menus' focus moves. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "CursorForm": a 64 x 64 top-most form without a frame holding the pointer picture.
class CCursorFormDesign : public korvane::mwt::CForm
{
public:
    CCursorFormDesign();
    ~CCursorFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> CursorImage;
};
