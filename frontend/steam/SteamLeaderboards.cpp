/** @file SteamLeaderboards.cpp Leaderboard requests and their results. */
#include "frontend/steam/SteamLeaderboards.h"

#include <algorithm>
#include <stdexcept>

#include "os/store/Store.h"
#include "os/store/UserStats.h"

using os::store::CallHandle;

CSteamLeaderboards::CSteamLeaderboards() = default;

CSteamLeaderboards::~CSteamLeaderboards()
{
    FreeDownloadedEntries();
}

void CSteamLeaderboards::CancelPending()
{
    findResult_.Cancel();
    uploadResult_.Cancel();
    downloadResult_.Cancel();
}

void CSteamLeaderboards::FindLeaderboard(const char* name)
{
    boardHandle_ = 0;
    CancelPending();
    os::store::UserStats* stats = os::store::GetUserStats();
    const CallHandle call =
        stats ? stats->FindOrCreateLeaderboard(name, os::store::kSortDescending, os::store::kDisplayNumeric) : 0;
    if (call == os::store::kInvalidCallHandle) {
        // No result will ever come: end the request now rather than stay busy for ever.
        os::store::DebugOutput("Leaderboard could not be found\n");
        busy_ = false;
        succeeded_ = false;
        return;
    }
    findResult_.Set(call, this, &CSteamLeaderboards::OnFindLeaderboard);
    busy_ = true;
    succeeded_ = false;
}

bool CSteamLeaderboards::UploadScore(std::int32_t score, const std::int32_t* details)
{
    if (boardHandle_ == 0)
        return false;
    CancelPending();
    os::store::UserStats* stats = os::store::GetUserStats();
    const CallHandle call = stats ? stats->UploadLeaderboardScore(boardHandle_, os::store::kUploadKeepBest, score,
                                                                  details, details ? kDetailCount : 0)
                                  : 0;
    if (call == os::store::kInvalidCallHandle) {
        os::store::DebugOutput("Score could not be uploaded to Steam\n");
        busy_ = false;
        succeeded_ = false;
        return false;
    }
    busy_ = true;
    succeeded_ = false;
    uploadResult_.Set(call, this, &CSteamLeaderboards::OnUploadScore);
    return true;
}

bool CSteamLeaderboards::DownloadScores(std::int32_t requestKind, std::int32_t maxEntries, std::int32_t rangeStart,
                                        std::int32_t rangeEnd)
{
    if (boardHandle_ == 0)
        return false;
    CancelPending();
    os::store::UserStats* stats = os::store::GetUserStats();
    const CallHandle call =
        stats ? stats->DownloadLeaderboardEntries(
                    boardHandle_, static_cast<os::store::LeaderboardDataRequest>(requestKind), rangeStart, rangeEnd)
              : 0;
    if (call == os::store::kInvalidCallHandle) {
        busy_ = false;
        succeeded_ = false;
        return false;
    }
    downloadResult_.Set(call, this, &CSteamLeaderboards::OnDownloadScores);
    FreeDownloadedEntries();
    wantedEntries_ = std::max(maxEntries, 0);
    detailsPerEntry_ = kDetailCount;
    entries_.assign(static_cast<std::size_t>(wantedEntries_), os::store::LeaderboardEntry{});
    details_.assign(static_cast<std::size_t>(wantedEntries_),
                    std::vector<std::int32_t>(static_cast<std::size_t>(kDetailCount), 0));
    succeeded_ = false;
    busy_ = true;
    return true;
}

void CSteamLeaderboards::FreeDownloadedEntries()
{
    if (details_.empty() && entries_.empty())
        return;
    while (!details_.empty())
        details_.pop_back();
    details_.shrink_to_fit();
    entries_.clear();
    entries_.shrink_to_fit();
}

void CSteamLeaderboards::OnFindLeaderboard(const os::store::LeaderboardFindResult* result, bool ioFailure)
{
    if (result && result->found && !ioFailure) {
        boardHandle_ = result->leaderboard;
        succeeded_ = true;
    } else {
        os::store::DebugOutput("Leaderboard could not be found\n");
        succeeded_ = false;
    }
    busy_ = false;
}

void CSteamLeaderboards::OnUploadScore(const os::store::LeaderboardScoreUploaded* result, bool ioFailure)
{
    if (result && result->success && !ioFailure) {
        lastUpload_ = *result;
        succeeded_ = true;
    } else {
        os::store::DebugOutput("Score could not be uploaded to Steam\n");
        succeeded_ = false;
    }
    busy_ = false;
}

void CSteamLeaderboards::OnDownloadScores(const os::store::LeaderboardScoresDownloaded* result, bool ioFailure)
{
    if (ioFailure || !result) {
        succeeded_ = false;
        busy_ = false;
        return;
    }
    os::store::UserStats* stats = os::store::GetUserStats();
    boardTotal_ = stats ? stats->GetLeaderboardEntryCount(boardHandle_) : 0;
    keptEntries_ = std::clamp(result->entryCount, 0, static_cast<std::int32_t>(entries_.size()));
    for (std::int32_t i = 0; i < keptEntries_; ++i) {
        const std::size_t at = static_cast<std::size_t>(i);
        if (stats)
            stats->GetDownloadedLeaderboardEntry(result->entries, i, &entries_[at], details_[at].data(), kDetailCount);
    }
    succeeded_ = true;
    busy_ = false;
}

const os::store::LeaderboardEntry& CSteamLeaderboards::GetEntry(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= entries_.size())
        throw std::out_of_range("leaderboard entry index out of range");
    return entries_[static_cast<std::size_t>(index)];
}

const std::int32_t* CSteamLeaderboards::GetDetails(std::int32_t index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= details_.size())
        throw std::out_of_range("leaderboard entry index out of range");
    return details_[static_cast<std::size_t>(index)].data();
}
