/** @file ScoreUpload.h A game thread's score handed to the upload job, which runs with its dialogs on the main thread. */
#pragma once

#include <cstdint>
#include <functional>

#include <boost/shared_ptr.hpp>

#include "frontend/steam/LeaderboardRecord.h"

struct FrontEndTask;
class CDialogForm;

/// The pending request the games fill on their thread.
extern LeaderboardRecord ScoreUploadRequest;

/// Clears the request, then board = difficulty + 5 x variant, word 1 = 1.
void PrepareMainGameScoreUpload(std::uint8_t difficulty, std::uint8_t variant, std::uint32_t score,
                                std::uint8_t progress);
/// Clears the request, then board = 10 + mode, word 1 = 1.
void PrepareCompanionGameScoreUpload(std::uint8_t mode, std::uint32_t score, std::uint8_t progress);

/// Copies the request for the job, posts the job and waits until it has ended, the pool had no
/// record for it, or the calling thread's stop check says to stop; a stopped wait gives the job
/// up, and it ends at its next pass without sending anything more. Always 1.
std::int32_t RequestScoreUpload();
/// The check RequestScoreUpload's wait polls on the calling thread (a game thread installs its
/// stop request); empty: never stop.
void SetScoreUploadStopCheck(std::function<bool()> check);

/// The task routine: find, upload, retry or give up, with the dialogs.
void ScoreUploadJob(FrontEndTask* task);

/// The 61 detail words of the record, the check sum in word 8.
void BuildScoreUploadDetails(const LeaderboardRecord& record, std::int32_t* details);
/// Starts the upload of the record's score on the board found last; false when it did not start.
bool UploadScoreFromRequest(const LeaderboardRecord& record);

/// The current UTC time in 100-ns units since 1601-01-01.
std::uint64_t CurrentFileTime();
/// Empty: CurrentFileTime.
void SetScoreUploadClock(std::function<std::uint64_t()> clock);

/// The dialog the upload job shows now (null before the first).
boost::shared_ptr<CDialogForm> GetScoreUploadDialog();
/// The job's copy of the request, as last stamped.
LeaderboardRecord GetScoreUploadJobRecord();
