/** @file UserStats.h Statistics, achievements and leaderboards of the local user. */
#pragma once

#include <cstdint>

#include "os/store/StoreTypes.h"

namespace os::store
{

/// Requests answer through the pump: call results for the boards, callbacks 1101 to 1103
/// for the statistics. Every call is safe from any thread.
class UserStats
{
public:
    /// Asks for the user's statistics (callback 1101); false when no user is logged on.
    bool RequestCurrentStats();
    /// False for a malformed identifier or before the statistics arrived.
    bool GetAchievement(const char* id, bool* achieved);
    /// "name", "desc" or "hidden"; "" for anything unknown. Valid until the next call.
    const char* GetAchievementDisplayAttribute(const char* id, const char* key);
    /// Marks the achievement (idempotent); false before the statistics arrived.
    bool SetAchievement(const char* id);
    /// Writes the statistics (callback 1102, then 1103 for each newly stored achievement).
    bool StoreStats();

    /// Result LeaderboardFindResult.
    CallHandle FindOrCreateLeaderboard(const char* name, LeaderboardSortMethod sort, LeaderboardDisplayType display);
    /// Result LeaderboardScoreUploaded; at most kMaxLeaderboardDetails words.
    CallHandle UploadLeaderboardScore(LeaderboardHandle board, LeaderboardUploadMethod method, std::int32_t score,
                                      const std::int32_t* details, std::int32_t detailCount);
    /// Result LeaderboardScoresDownloaded.
    CallHandle DownloadLeaderboardEntries(LeaderboardHandle board, LeaderboardDataRequest request,
                                          std::int32_t rangeStart, std::int32_t rangeEnd);
    /// Entries on the board; 0 for an unknown board.
    std::int32_t GetLeaderboardEntryCount(LeaderboardHandle board);
    /// Copies entry `index` of the last download and up to maxDetails of its words.
    bool GetDownloadedLeaderboardEntry(EntriesHandle entries, std::int32_t index, LeaderboardEntry* entry,
                                       std::int32_t* details, std::int32_t maxDetails);
};

} // namespace os::store
