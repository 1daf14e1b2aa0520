/** @file SettingsFormDesign.h What every options screen's layout starts from: its texture cache, the
 * cross-hatched band behind the rows and the rule under the caption. */
#pragma once

#include <string>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// The base of the options screens' designs; each names its own controls and lays them out.
class CSettingsFormDesign : public korvane::mwt::CForm
{
public:
    ~CSettingsFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache) = 0;

protected:
    CSettingsFormDesign();

    /// Gives the form the settings screens' properties and adds the band (Image1) as its first
    /// control; returns the cache to lay out with, the design's own when `cache` is null.
    korvane::CTextureCache* BeginSettingsLayout(korvane::CTextureCache* cache, const std::string& name, bool groupKeys,
                                                bool stretch = false);
    /// Adds the rule under the caption (Image2).
    void AddCaptionRule(korvane::CTextureCache* cache, bool stretch = false);

    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
};
