/** @file LeaderboardSelectFormDesign.cpp The layout of the leaderboard chooser. */
#include "frontend/forms/LeaderboardSelectFormDesign.h"

#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"

using korvane::Color4;
using korvane::Vector2;
using korvane::canvas::CFont;
using korvane::canvas::Rect2f;
using korvane::mwt::CControl;
using korvane::mwt::CLabel;

namespace
{

void Common(CControl& control, std::int32_t group, bool focusable)
{
    control.SetTag(0);
    control.SetDock(CControl::kDockNone);
    control.SetGroup(group);
    control.SetFocusable(focusable);
    SetAppearanceByName(control, form_names::kAppearanceTransparent);
}

boost::shared_ptr<korvane::mwt::CHorizontalSelector> MakeSelector(const std::string& name, const Rect2f& bounds,
                                                                  std::int32_t group)
{
    boost::shared_ptr<korvane::mwt::CHorizontalSelector> selector(new korvane::mwt::CHorizontalSelector(name));
    selector->SetFont(CFont(form_names::kFontAsciiMedium));
    selector->SetLocation(Vector2<float>(bounds.left, bounds.top));
    selector->SetSize(Vector2<float>(bounds.width, bounds.height));
    Common(*selector, group, false);
    return selector;
}

boost::shared_ptr<CLabel> MakeFocusLabel(const std::string& name, const Rect2f& bounds, const std::string& caption,
                                         std::int32_t group, const std::string& text)
{
    boost::shared_ptr<CLabel> label =
        MakeLabel(name, bounds, caption, form_names::kFontAsciiMedium, {1.0f, 1.0f, 1.0f, 1.0f}, false);
    label->SetVerticalAlignment(CLabel::kAlignCenter);
    Common(*label, group, true);
    label->CControl::SetText(text);
    label->SetCaption(caption);
    return label;
}

} // namespace

CLeaderboardSelectFormDesign::CLeaderboardSelectFormDesign() = default;
CLeaderboardSelectFormDesign::~CLeaderboardSelectFormDesign() = default;

korvane::CTextureCache* CLeaderboardSelectFormDesign::GetTextureCache()
{
    return &textureCache_;
}

void CLeaderboardSelectFormDesign::InitializeComponent(korvane::CTextureCache* cache)
{
    using namespace form_names;
    if (cache == nullptr) {
        cache = GetTextureCache();
    }
    ApplyFormSetup(*this, LeaderboardFormSetup("LeaderboardSelectForm", 900));
    SetDock(CControl::kDockFill);
    SetGroupKeyBroadcast(true);

    Image1 = MakeImage(cache, "Image1", kImageCrossHatch, {612.0f, 0.0f, 692.0f, 1080.0f}, 0.3125f);
    AddControl(Image1);
    Image2 = MakeImage(cache, "Image2", kImageCaptionUnderline, {612.0f, 128.0f, 692.0f, 16.0f}, 0.625f);
    AddControl(Image2);
    SearchButton = MakeButton("SearchButton", {668.0f, 440.0f, 328.0f, 40.0f}, "   SEARCH");
    Common(*SearchButton, 0, true);
    SearchButton->SetVerticalAlignment(CLabel::kAlignCenter);
    SearchButton->SetText("選択された条件でスコアランキングを表示します。");
    AddControl(SearchButton);
    GameModeSelector = MakeSelector("GameModeSelector", {796.0f, 340.0f, 508.0f, 36.0f}, 502);
    AddControl(GameModeSelector);
    TitleSelector = MakeSelector("TitleSelector", {732.0f, 236.0f, 572.0f, 36.0f}, 501);
    AddControl(TitleSelector);
    ExitButton = MakeButton("ExitButton", {668.0f, 544.0f, 328.0f, 40.0f}, "   EXIT");
    Common(*ExitButton, 0, true);
    ExitButton->SetVerticalAlignment(CLabel::kAlignCenter);
    ExitButton->SetText("終了します。");
    AddControl(ExitButton);
    TitleLabel = MakeFocusLabel("TitleLabel", {668.0f, 196.0f, 328.0f, 40.0f}, "   TITLE", 501, "");
    AddControl(TitleLabel);
    GameModeLabel =
        MakeFocusLabel("GameModeLabel", {668.0f, 300.0f, 328.0f, 40.0f}, "   GAME MODE", 502, "難易度を選択します。");
    AddControl(GameModeLabel);
    Title = MakeLabel("Title", {632.0f, 104.0f, 393.0f, 31.0f}, "LEADERBOARDS", kFontAsciiLarge);
    Title->SetVerticalAlignment(CLabel::kAlignCenter);
    Common(*Title, 0, false);
    AddControl(Title);
}
