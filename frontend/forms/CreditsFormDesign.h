/** @file CreditsFormDesign.h The layout of the credits screen. */
#pragma once

#include <array>

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Control.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "CreditsForm": the menus' band and caption rule, "CREDITS" and thirteen lines of message text, each
/// short enough in every language to end inside the band.
/// It has no button: a focusable control that draws nothing holds the focus, so keys reach the form.
class CCreditsFormDesign : public korvane::mwt::CForm
{
public:
    static constexpr int kLineCount = 13;

    CCreditsFormDesign();
    ~CCreditsFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CControl> KeyPanel;
    std::array<boost::shared_ptr<korvane::mwt::CLabel>, kLineCount> Lines;
};
