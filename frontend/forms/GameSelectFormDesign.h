/** @file GameSelectFormDesign.h The layout of the title menu. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Button.h"
#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "GameSelectForm", a skinned window: the menus' band and caption rule, "GAME SELECT", the two
/// games, Options, Leaderboards, Credits and Exit, top to bottom in focus order.
class CGameSelectFormDesign : public korvane::mwt::CForm
{
public:
    CGameSelectFormDesign();
    ~CGameSelectFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CButton> MainGameButton;
    boost::shared_ptr<korvane::mwt::CButton> CompanionGameButton;
    boost::shared_ptr<korvane::mwt::CButton> OptionsButton;
    boost::shared_ptr<korvane::mwt::CButton> LeaderboardsButton;
    boost::shared_ptr<korvane::mwt::CButton> CreditsButton;
    boost::shared_ptr<korvane::mwt::CButton> ExitButton;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
};
