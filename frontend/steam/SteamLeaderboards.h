/** @file SteamLeaderboards.h The front end's leaderboard client: find a board, upload a score, download entries. */
#pragma once

#include <cstdint>
#include <vector>

#include "os/store/CallResult.h"
#include "os/store/StoreTypes.h"

/// One request at a time; results arrive in the store's pump on the main thread. The jobs
/// poll IsBusy and IsSucceeded once a frame.
class CSteamLeaderboards
{
public:
    /// Detail words per entry in uploads and downloads.
    static constexpr std::int32_t kDetailCount = 61;

    CSteamLeaderboards();
    ~CSteamLeaderboards();
    CSteamLeaderboards(const CSteamLeaderboards&) = delete;
    CSteamLeaderboards& operator=(const CSteamLeaderboards&) = delete;

    /// Forgets the board held and starts finding (or creating) the named one.
    void FindLeaderboard(const char* name);
    /// False when no board is held or the request cannot start.
    bool UploadScore(std::int32_t score, const std::int32_t* details);
    /// False when no board is held or the request cannot start. Room is made for `maxEntries`.
    bool DownloadScores(std::int32_t requestKind, std::int32_t maxEntries, std::int32_t rangeStart,
                        std::int32_t rangeEnd);
    void FreeDownloadedEntries();

    void OnFindLeaderboard(const os::store::LeaderboardFindResult* result, bool ioFailure);
    void OnUploadScore(const os::store::LeaderboardScoreUploaded* result, bool ioFailure);
    void OnDownloadScores(const os::store::LeaderboardScoresDownloaded* result, bool ioFailure);

    bool IsBusy() const { return busy_; }
    bool IsSucceeded() const { return succeeded_; }
    os::store::LeaderboardHandle GetBoardHandle() const { return boardHandle_; }
    std::int32_t GetWantedEntries() const { return wantedEntries_; }
    std::int32_t GetDetailsPerEntry() const { return detailsPerEntry_; }
    std::int32_t GetKeptEntries() const { return keptEntries_; }
    std::int32_t GetBoardTotal() const { return boardTotal_; }
    const os::store::LeaderboardScoreUploaded& GetLastUploadResult() const { return lastUpload_; }
    /// Entry `index` of the last download (0 to the wanted entries - 1).
    const os::store::LeaderboardEntry& GetEntry(std::int32_t index) const;
    /// Its kDetailCount detail words.
    const std::int32_t* GetDetails(std::int32_t index) const;
    /// True while the allocation of the last download is held.
    bool HasDownloadedEntries() const { return !details_.empty(); }

private:
    /// A new request makes every other pending result stale.
    void CancelPending();

    bool busy_ = false;
    std::int32_t wantedEntries_ = 0;
    std::int32_t detailsPerEntry_ = 0;
    os::store::LeaderboardScoreUploaded lastUpload_{};
    os::store::LeaderboardHandle boardHandle_ = 0;
    std::int32_t keptEntries_ = 0;
    std::vector<os::store::LeaderboardEntry> entries_;
    std::vector<std::vector<std::int32_t>> details_;
    std::int32_t boardTotal_ = 0;
    bool succeeded_ = false;
    os::store::CallResult<CSteamLeaderboards, os::store::LeaderboardFindResult> findResult_;
    os::store::CallResult<CSteamLeaderboards, os::store::LeaderboardScoreUploaded> uploadResult_;
    os::store::CallResult<CSteamLeaderboards, os::store::LeaderboardScoresDownloaded> downloadResult_;
    os::store::CallResult<CSteamLeaderboards, os::store::LeaderboardUgcSet> attachmentResult_;
};
