/** @file LeaderboardListForm.cpp The leaderboard list view. */
#include "frontend/forms/LeaderboardListForm.h"

#include <cstdio>
#include <stdexcept>

#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "frontend/forms/FormHelpers.h"
#include "frontend/forms/FormNames.h"
#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardRowDrawing.h"
#include "frontend/forms/LeaderboardSelectForm.h"

namespace
{

constexpr const char* kReplayIcon = "formimage\\ReplayIcon.png";

/// Shared with the caller, which draws it: the cache need not be the only one keeping it.
boost::shared_ptr<korvane::ITexture> ReplayIcon()
{
    korvane::CTextureCache* cache = CFormSceneLink::GetFormCache();
    return cache ? CFormSceneLink::LoadTexture(cache, kReplayIcon) : boost::shared_ptr<korvane::ITexture>();
}

std::string Format(const char* format, int value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof(buffer), format, value);
    return buffer;
}

} // namespace

CLeaderboardListForm::CLeaderboardListForm()
{
    InitializedEvent = [this](korvane::mwt::CForm* sender) { OnInitialized(sender); };
    OpenedEvent = [this](korvane::mwt::CForm* sender) { OnOpened(sender); };
    KeyDownEvent = [this](korvane::mwt::CControl* sender, unsigned int key) { OnKeyDown(sender, key); };
}

CLeaderboardListForm::~CLeaderboardListForm()
{
    rows_.clear();
    rows_.shrink_to_fit();
}

std::int32_t CLeaderboardListForm::GetRequest()
{
    return request_;
}

void CLeaderboardListForm::ClearRequest()
{
    request_ = kRequestNone;
}

void CLeaderboardListForm::SetBoardName(const std::string& name)
{
    if (BoardLabel) {
        BoardLabel->SetCaption(name);
    }
}

std::int32_t CLeaderboardListForm::GetRequestedRow()
{
    return requestedRow_;
}

void CLeaderboardListForm::SetCursorRow(std::int32_t row)
{
    if (ListBox) {
        ListBox->SetSelectedIndex(row);
    }
    OnListSelectionChanged(this);
}

void CLeaderboardListForm::SetLoading(bool loading)
{
    if (!ListBox) {
        return;
    }
    ProgressPanel->SetVisible(loading);
    ListBox->SetVisible(!loading);
    NoEntryLabel->SetVisible(!loading && ListBox->GetItems().empty());
}

void CLeaderboardListForm::SetRowCount(std::int32_t count)
{
    rows_.clear();
    if (count > 0) {
        rows_.resize(static_cast<std::size_t>(count));
    }
    if (!ListBox) {
        return;
    }
    std::vector<std::string>& items = ListBox->GetItems();
    items.clear();
    for (std::int32_t k = 1; k <= count; ++k) {
        items.push_back(std::to_string(k));
    }
    NoEntryLabel->SetVisible(items.empty());
}

void CLeaderboardListForm::SetRow(std::int32_t index, std::int32_t rank, bool replay, bool highlight,
                                  const std::string& name, std::int64_t score, const std::string& stageText,
                                  const std::string& dateText)
{
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    LeaderboardListRow& row = rows_[static_cast<std::size_t>(index)];
    row.Rank = rank;
    row.Replay = replay;
    row.Highlight = highlight;
    row.Name = name;
    row.Score = score;
    row.StageText = stageText;
    row.DateText = dateText;
}

void CLeaderboardListForm::SetPaging(std::int32_t total, std::int32_t firstRank)
{
    if (!ScrollBar) {
        return;
    }
    ScrollBar->SetMinimum(0.0);
    ScrollBar->SetMaximum(static_cast<double>(total));
    ScrollBar->SetPageSize(static_cast<double>(ListBox->GetVisibleCount()));
    ScrollBar->SetValue(static_cast<double>(firstRank) - 1.0);
    ScrollBar->SetVisible(!rows_.empty() && ScrollBar->GetEffectivePageSize() < ScrollBar->GetMaximum());
    TotalPlayersLabel->SetCaption(Format("%05d", total));
}

void CLeaderboardListForm::SetBoard(std::int32_t title, std::int32_t mode)
{
    title_ = title;
    mode_ = mode;
}

std::int32_t CLeaderboardListForm::GetView()
{
    const std::int32_t index = FilterSelector ? FilterSelector->GetSelectedIndex() : 0;
    return (index == 1 || index == 2) ? index : 0;
}

bool CLeaderboardListForm::StepView(std::int32_t step)
{
    if (!FilterSelector) {
        return false;
    }
    const std::int32_t before = FilterSelector->GetSelectedIndex();
    const std::int32_t wanted = before + step;
    FilterSelector->SetSelectedIndex(wanted < 0 ? 0 : wanted);
    if (FilterSelector->GetSelectedIndex() == before) {
        return false;
    }
    ScrollBar->SetVisible(false);
    CFormSceneLink::PlaySound(EUiSound::Cursor);
    return true;
}

bool CLeaderboardListForm::NextView()
{
    return StepView(1);
}

bool CLeaderboardListForm::PreviousView()
{
    return StepView(-1);
}

void CLeaderboardListForm::OnInitialized(korvane::mwt::CForm*)
{
    InitializeComponent(CFormSceneLink::GetFormCache());
    ListBox->SetItemHeight(48);
    SetRowCount(0);
    SetPaging(0, 0);
    SetRowCount(10);
    SetPaging(100, 0);
    for (int i = 0; i < 10; ++i) {
        char date[32];
        std::snprintf(date, sizeof(date), "%4d/%02d/%02d", i + 2000, i, i);
        SetRow(i, i + 1, false, false, Format("tag_%d", i), i * 1000, Format("stage %d", i), date);
    }
    FilterSelector->GetItems() = {"Overall", "My Score", "Friends"};
    FilterSelector->SetSelectedIndex(0);
    ListBox->ClickEvent = [this](korvane::mwt::CControl* sender) { OnListClick(sender); };
    ListBox->ScrolledEvent = [this](korvane::mwt::CListBox* sender) { OnListScrolled(sender); };
    ListBox->SelectionChangedEvent = [this](korvane::mwt::CListBox* sender) { OnListSelectionChanged(sender); };
    ListBox->DrawItemEvent = [this](korvane::mwt::CListBox* sender, korvane::canvas::CCanvas* canvas,
                                    std::int32_t index,
                                    const korvane::canvas::Rect2f& rect) { DrawRow(sender, canvas, index, rect); };
}

void CLeaderboardListForm::OnOpened(korvane::mwt::CForm*)
{
    korvane::mwt::CForm::SetFocus();
    BringToFront();
    ListBox->SetFocus();
}

void CLeaderboardListForm::OnKeyDown(korvane::mwt::CControl*, unsigned int key)
{
    using namespace form_names;
    switch (key) {
    case kKeyReturn:
        request_ = kRequestDecide;
        requestedRow_ = ListBox->GetSelectedIndex();
        break;
    case kKeyEscape: {
        request_ = kRequestClosed;
        CFormSceneLink::PlaySound(EUiSound::Cancel);
        Close();
        boost::shared_ptr<CLeaderboardSelectForm> chooser(new CLeaderboardSelectForm());
        ShowForm(chooser);
        chooser->SetSelection(title_, mode_);
        break;
    }
    case kKeyLeft:
        PreviousView();
        break;
    case kKeyRight:
        NextView();
        break;
    case kKeyUp:
        if (ListBox->GetSelectedIndex() < 1) {
            request_ = kRequestPrevious;
        } else {
            CFormSceneLink::PlaySound(EUiSound::Cursor);
        }
        break;
    case kKeyDown:
        if (ListBox->GetSelectedIndex() >= static_cast<std::int32_t>(ListBox->GetItems().size()) - 1) {
            request_ = kRequestNext;
        } else {
            CFormSceneLink::PlaySound(EUiSound::Cursor);
        }
        break;
    default:
        break;
    }
}

void CLeaderboardListForm::OnListClick(korvane::mwt::CComponent*) {}

void CLeaderboardListForm::OnListScrolled(korvane::mwt::CComponent*) {}

void CLeaderboardListForm::OnListSelectionChanged(korvane::mwt::CComponent*)
{
    if (ListBox) {
        (void)ListBox->GetSelectedIndex();
    }
}

void CLeaderboardListForm::DrawRow(korvane::mwt::CComponent*, korvane::canvas::CCanvas* canvas, std::int32_t index,
                                   const korvane::canvas::Rect2f& rect)
{
    if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    const bool selected = ListBox && index == ListBox->GetSelectedIndex();
    DrawLeaderboardRow(*canvas, rows_[static_cast<std::size_t>(index)], rect, selected, &ReplayIcon);
}
