/** @file LeaderboardListFormDesign.h The layout of the leaderboard list view. */
#pragma once

#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/mwt/Form.h"
#include "KorvaneXDK/mwt/HorizontalSelector.h"
#include "KorvaneXDK/mwt/Image.h"
#include "KorvaneXDK/mwt/Label.h"
#include "KorvaneXDK/mwt/ListBox.h"
#include "KorvaneXDK/mwt/Panel.h"
#include "KorvaneXDK/mwt/ScrollBar.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"

/// "LeaderboardListForm": caption, board name, view selector, ten owner-drawn rows with their
/// scroll bar, the total count, "ACCESSING..." and "- NO ENTRY -".
class CLeaderboardListFormDesign : public korvane::mwt::CForm
{
public:
    CLeaderboardListFormDesign();
    ~CLeaderboardListFormDesign() override;

    virtual korvane::CTextureCache* GetTextureCache();
    /// Null means the design's own cache.
    virtual void InitializeComponent(korvane::CTextureCache* cache);

protected:
    korvane::CTextureCache textureCache_;

public:
    boost::shared_ptr<korvane::mwt::CImage> Image1;
    boost::shared_ptr<korvane::mwt::CImage> Image2;
    boost::shared_ptr<korvane::mwt::CPanel> MainListPanel;
    boost::shared_ptr<korvane::mwt::CLabel> Label4;
    boost::shared_ptr<korvane::mwt::CLabel> TotalPlayersLabel;
    boost::shared_ptr<korvane::mwt::CPanel> Panel8;
    boost::shared_ptr<korvane::mwt::CScrollBar> ScrollBar;
    boost::shared_ptr<korvane::mwt::CListBox> ListBox;
    boost::shared_ptr<korvane::mwt::CLabel> NoEntryLabel;
    boost::shared_ptr<korvane::mwt::CPanel> ProgressPanel;
    boost::shared_ptr<korvane::mwt::CLabel> Label1;
    boost::shared_ptr<korvane::mwt::CLabel> Label2;
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> FilterSelector;
    boost::shared_ptr<korvane::mwt::CLabel> Title;
    boost::shared_ptr<korvane::mwt::CLabel> BoardLabel;
};
