/** @file LeaderboardListForm.h The leaderboard list view: the download job fills it, it tells the job what the user wants. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "frontend/forms/LeaderboardListFormDesign.h"
#include "frontend/forms/LeaderboardListRow.h"

/// Requests, read and cleared by the job once a frame: 0 none, 1 decide, 3 next page, 4
/// previous page, 5 closed. Views: 0 Overall, 1 My Score, 2 Friends.
class CLeaderboardListForm : public CLeaderboardListFormDesign
{
public:
    static constexpr std::int32_t kRequestNone = 0;
    static constexpr std::int32_t kRequestDecide = 1;
    static constexpr std::int32_t kRequestNext = 3;
    static constexpr std::int32_t kRequestPrevious = 4;
    static constexpr std::int32_t kRequestClosed = 5;

    CLeaderboardListForm();
    ~CLeaderboardListForm() override;

    virtual std::int32_t GetRequest();
    virtual void ClearRequest();
    virtual void SetBoardName(const std::string& name);
    virtual std::int32_t GetRequestedRow();
    virtual void SetCursorRow(std::int32_t row);
    virtual void SetLoading(bool loading);
    virtual void SetRowCount(std::int32_t count);
    /// std::out_of_range for an index not below the row count.
    virtual void SetRow(std::int32_t index, std::int32_t rank, bool replay, bool highlight, const std::string& name,
                        std::int64_t score, const std::string& stageText, const std::string& dateText);
    virtual void SetPaging(std::int32_t total, std::int32_t firstRank);
    virtual void SetBoard(std::int32_t title, std::int32_t mode);
    virtual std::int32_t GetView();
    virtual bool NextView();
    virtual bool PreviousView();
    virtual void OnInitialized(korvane::mwt::CForm* sender);
    virtual void OnOpened(korvane::mwt::CForm* sender);
    virtual void OnKeyDown(korvane::mwt::CControl* sender, unsigned int key);
    virtual void OnListClick(korvane::mwt::CComponent* sender);
    virtual void OnListScrolled(korvane::mwt::CComponent* sender);
    virtual void OnListSelectionChanged(korvane::mwt::CComponent* sender);
    virtual void DrawRow(korvane::mwt::CComponent* sender, korvane::canvas::CCanvas* canvas, std::int32_t index,
                         const korvane::canvas::Rect2f& rect);

    const std::vector<LeaderboardListRow>& GetRows() const { return rows_; }
    std::int32_t GetTitle() const { return title_; }
    std::int32_t GetMode() const { return mode_; }

protected:
    bool StepView(std::int32_t step);

    std::int32_t request_ = kRequestNone;
    std::int32_t requestedRow_ = 0;
    std::vector<LeaderboardListRow> rows_;
    std::int32_t title_ = 0;
    std::int32_t mode_ = 0;
};
