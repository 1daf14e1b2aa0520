/** @file LeaderboardSelectFormDesign.h The layout of the leaderboard chooser. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "LeaderboardSelectForm": a title and a game mode, each a label with its selector in one
/// group, SEARCH and EXIT.
class CLeaderboardSelectFormDesign : public korvane::mwt::CForm
{
public:
    CLeaderboardSelectFormDesign();
    ~CLeaderboardSelectFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CButton> SearchButton;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> GameModeSelector;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> TitleSelector;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CLabel> TitleLabel;
    boost::shared_ptr<korvane::mwt::CLabel> GameModeLabel;
    boost::shared_ptr<korvane::mwt::CLabel> Title;
};
