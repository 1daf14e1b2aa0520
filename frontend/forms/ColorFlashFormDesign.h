/** @file ColorFlashFormDesign.h The layout of the full-screen flash that marks a completed reset. */
#pragma once

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "ColorFlashForm": white over the whole screen, opening from the middle line and spreading
/// out as it closes; it never takes the focus.
class CColorFlashFormDesign : public korvane::mwt::CForm
{
public:
    CColorFlashFormDesign();
    ~CColorFlashFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;
};
