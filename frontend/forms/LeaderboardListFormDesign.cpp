/** @file LeaderboardListFormDesign.cpp The layout of the leaderboard list view. */
#include "frontend/forms/LeaderboardListFormDesign.h"

#include "KorvaneXDK/mwt/AnimationComponentStock.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

using korvane::Color4;
using korvane::Vector2;
using korvane::canvas::CFont;
using korvane::canvas::Rect2f;
using korvane::mwt::CControl;
using korvane::mwt::CLabel;
using korvane::mwt::CPanel;

namespace
{

void Place(CControl& control, const Rect2f& bounds, const Color4<float>& tint, bool focusable)
{
    control.SetTag(0);
    control.SetColor(tint);
    control.SetFocusable(focusable);
    control.SetText("");
    SetAppearanceByName(control, form_names::kAppearanceTransparent);
    control.SetSize(Vector2<float>(bounds.width, bounds.height));
    control.SetDock(CControl::kDockNone);
    control.SetGroup(0);
    control.SetLocation(Vector2<float>(bounds.left, bounds.top));
}

boost::shared_ptr<CPanel> MakePanel(const std::string& name, const Rect2f& bounds, const Color4<float>& tint,
                                    std::int32_t padding)
{
    boost::shared_ptr<CPanel> panel(new CPanel(name));
    panel->SetDockPadding(padding);
    panel->SetKeyPreview(false);
    panel->SetGroupKeyBroadcast(false);
    Place(*panel, bounds, tint, true);
    return panel;
}

boost::shared_ptr<CLabel> MakeListLabel(const std::string& name, const Rect2f& bounds, const std::string& caption,
                                        const char* font, const Color4<float>& tint, bool autoSize,
                                        std::int32_t vertical = CLabel::kAlignNear)
{
    boost::shared_ptr<CLabel> label(new CLabel(name));
    label->SetAutoSize(autoSize);
    label->SetTextAlignment(CLabel::kAlignNear);
    label->SetVerticalAlignment(vertical);
    label->SetFont(CFont(font));
    Place(*label, bounds, tint, true);
    label->SetCaption(caption);
    return label;
}

} // namespace

CLeaderboardListFormDesign::CLeaderboardListFormDesign() = default;
CLeaderboardListFormDesign::~CLeaderboardListFormDesign() = default;

korvane::CTextureCache* CLeaderboardListFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CLeaderboardListFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    ApplyFormSetup(*this, LeaderboardFormSetup("LeaderboardListForm", kGroupKeyed));
    SetDock(CControl::kDockFill);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    Image1->SetStretch(true);
    AddControl(Image1);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    Image2->SetStretch(true);
    AddControl(Image2);

    MainListPanel = MakePanel("MainListPanel", {616.0f, 244.0f, 688.0f, 660.0f}, {0.2f, 0.2f, 0.2f, 0.0f}, 0);
    AddControl(MainListPanel);
    Label4 = MakeListLabel("Label4", {12.0f, 556.0f, 222.0f, 38.0f}, "TOTAL PLAYER COUNT:", kFontCondenseMedium,
                           {1.0f, 1.0f, 1.0f, 0.875f}, true);
    MainListPanel->AddControl(Label4);
    TotalPlayersLabel = MakeListLabel("TotalPlayersLabel", {240.0f, 556.0f, 162.0f, 38.0f}, "TotalPlayersLabel",
                                      kFontCondenseMedium, {0.875f, 0.9375f, 1.0f, 1.0f}, true);
    MainListPanel->AddControl(TotalPlayersLabel);
    Panel8 = MakePanel("Panel8", {4.0f, 44.0f, 680.0f, 496.0f}, {1.0f, 1.0f, 1.0f, 0.0f}, 4);
    MainListPanel->AddControl(Panel8);

    ScrollBar.reset(new korvane::mwt::CScrollBar("ScrollBar"));
    ScrollBar->SetOrientation(1);
    ScrollBar->SetSmallChange(1.0);
    ScrollBar->SetLargeChange(10.0);
    ScrollBar->SetMinimum(0.0);
    ScrollBar->SetMaximum(100.0);
    ScrollBar->SetValue(0.0);
    Place(*ScrollBar, {664.0f, 4.0f, 12.0f, 488.0f}, {0.5625f, 0.5625f, 0.5625f, 1.0f}, false);
    SetAppearanceByName(*ScrollBar, kAppearanceSkinScrollBar);
    ScrollBar->SetDock(CControl::kDockRight);
    Panel8->AddControl(ScrollBar);

    ListBox.reset(new korvane::mwt::CListBox("ListBox"));
    ListBox->SetOwnerDraw(true);
    ListBox->SetHotTrack(false);
    ListBox->SetItemHeightFromFont(false);
    ListBox->SetItemHeight(96);
    ListBox->SetInset(4);
    ListBox->SetScrollMargin(1);
    ListBox->SetTopIndex(0);
    ListBox->SetFont(CFont(kFontAsciiMedium));
    Place(*ListBox, {4.0f, 4.0f, 660.0f, 488.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, true);
    ListBox->SetDock(CControl::kDockFill);
    Panel8->AddControl(ListBox);

    NoEntryLabel = MakeListLabel("NoEntryLabel", {180.0f, 240.0f, 340.0f, 31.0f}, "- NO ENTRY -", kFontAsciiLarge,
                                 {1.0f, 1.0f, 1.0f, 0.625f}, true);
    Panel8->AddControl(NoEntryLabel);
    ProgressPanel = MakePanel("ProgressPanel", {4.0f, 4.0f, 660.0f, 488.0f}, {0.0625f, 0.125f, 0.375f, 0.0f}, 0);
    ProgressPanel->SetDock(CControl::kDockFill);
    Panel8->AddControl(ProgressPanel);
    Label1 = MakeListLabel("Label1", {200.0f, 240.0f, 301.0f, 31.0f}, "ACCESSING...", kFontAsciiLarge,
                           {0.3125f, 0.705f, 1.0f, 1.0f}, true);
    Label1->SetAnimation(korvane::mwt::CAnimationComponentStock::GetInstance()->Create("SmoothBlinkLoop"));
    ProgressPanel->AddControl(Label1);

    Label2 = MakeListLabel("Label2", {204.0f, 8.0f, 144.0f, 36.0f}, "Filter:", kFontAsciiMedium,
                           {1.0f, 1.0f, 1.0f, 0.75f}, false, CLabel::kAlignCenter);
    MainListPanel->AddControl(Label2);
    FilterSelector.reset(new korvane::mwt::CHorizontalSelector("FilterSelector"));
    FilterSelector->SetFont(CFont(kFontAsciiMedium));
    Place(*FilterSelector, {352.0f, 8.0f, 320.0f, 36.0f}, {1.0f, 1.0f, 1.0f, 1.0f}, true);
    FilterSelector->SetGroup(100);
    MainListPanel->AddControl(FilterSelector);

    Title = MakeListLabel("Title", {636.0f, 108.0f, 393.0f, 31.0f}, "LEADERBOARDS", kFontAsciiLarge,
                          {1.0f, 1.0f, 1.0f, 1.0f}, true, CLabel::kAlignCenter);
    Title->SetFocusable(false);
    AddControl(Title);
    BoardLabel = MakeListLabel("BoardLabel", {636.0f, 168.0f, 534.0f, 23.0f}, "Type-X/EASY/Chapter 99",
                               kFontAsciiMedium, {1.0f, 1.0f, 1.0f, 1.0f}, true);
    AddControl(BoardLabel);
}
