/** @file LeaderboardDownloadJob.h The job that finds a board, downloads its pages and fills the list view. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <boost/shared_ptr.hpp>
#include <boost/weak_ptr.hpp>

#include "frontend/steam/LeaderboardRecord.h"

struct FrontEndTask;
class CDialogForm;
class CLeaderboardListForm;

/// What the job holds outside its work area: the rows and the list view, freed at its end (or,
/// when the program ends first, with the program's statics).
struct LeaderboardJobState
{
    std::vector<LeaderboardRecord> Rows;
    boost::weak_ptr<CLeaderboardListForm> ListForm;
};

/// The job's work area: plain data and the pointer to its heap state.
struct LeaderboardDownloadWork
{
    std::uint8_t Title; ///< 0 main game, 1 companion game
    std::uint8_t Mode;
    std::uint8_t Board;
    std::int32_t FirstRank; ///< rank of the page's top row, from 1 (Friends: position in the list)
    std::int32_t View;      ///< 0 Overall, 1 My Score, 2 Friends
    std::int32_t Locate;    ///< 1: place the next download around the user
    std::int32_t Counter;
    std::int32_t Total; ///< entries there are, for paging
    std::int32_t Count; ///< rows held
    LeaderboardJobState* State;
    std::int32_t CursorRow;
    std::int32_t LastView;
};

/// The task routine.
void LeaderboardDownloadJob(FrontEndTask* task);
/// Posts the job for the title's (0 main game, 1 companion game) mode and hands it the list view,
/// which it names. Returns its record; null, and nothing posted, when the pool has no record to give.
FrontEndTask* PostLeaderboardDownload(std::int32_t title, std::int32_t mode,
                                      const boost::shared_ptr<CLeaderboardListForm>& list);
/// The record's work area; the chooser fills title, mode, board and the list form after the post.
LeaderboardDownloadWork& GetLeaderboardDownloadWork(FrontEndTask* task);
/// Gives the job its list view (held weakly: a view that is gone ends the job).
void SetLeaderboardDownloadForm(LeaderboardDownloadWork& work, const boost::shared_ptr<CLeaderboardListForm>& form);

/// "QVR/" or "TV/" and the board's mode name; only the prefix for a board outside the title.
std::string MakeLeaderboardName(std::int32_t title, std::int32_t board);
/// Gives the list view the board's name.
void GetLeaderboardName(LeaderboardDownloadWork& work);
/// Starts the download of a page of the view on the board found last; false when it did not start.
bool DownloadLeaderboardPage(std::int32_t firstRank, std::int32_t view, std::int32_t locate);
/// The rows of the last download into the job.
void CollectLeaderboardRows(std::int32_t view, LeaderboardDownloadWork& work);
void FreeLeaderboardDetails(LeaderboardDownloadWork& work);
/// Places the first rank and the cursor after a download (the user's row when locating).
void PlaceLeaderboardPage(LeaderboardDownloadWork& work, std::uint64_t self);
/// Fills the list view from the rows held.
void FormatLeaderboardDetail(LeaderboardDownloadWork& work);
/// Serves the list view's request of this pass: a view change, next or previous page.
void HandleLeaderboardListRequest(std::int32_t request, FrontEndTask* task);

/// The progress as the list shows it ("AREA  7", "PHASE ALL", "STAGE 3", ...).
std::string LeaderboardStageText(std::int32_t title, std::int32_t board, std::int32_t progress);
/// The upload time in local time, "%4d/%2d/%2d %02d:%02d:%02d"; empty when it has no such date.
std::string LeaderboardDateText(std::uint64_t fileTime);
/// At most `maxBytes` bytes of the text, never splitting a UTF-8 character.
std::string CutUtf8(const std::string& text, std::size_t maxBytes);

/// The dialog the download job shows now (null before the first).
boost::shared_ptr<CDialogForm> GetLeaderboardDownloadDialog();

namespace frontend_testing
{
/// The download jobs' states not yet freed.
std::int32_t LeaderboardJobStatesHeld();
} // namespace frontend_testing
