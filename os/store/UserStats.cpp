/** @file UserStats.cpp Statistics and leaderboard calls, served by the store service. */
#include "os/store/UserStats.h"

#include "os/store/StoreService.h"

namespace os::store
{

bool UserStats::RequestCurrentStats()
{
    return StoreService::Get().RequestCurrentStats();
}

bool UserStats::GetAchievement(const char* id, bool* achieved)
{
    return StoreService::Get().GetAchievement(id, achieved);
}

const char* UserStats::GetAchievementDisplayAttribute(const char* id, const char* key)
{
    return StoreService::Get().GetAchievementDisplayAttribute(id, key);
}

bool UserStats::SetAchievement(const char* id)
{
    return StoreService::Get().SetAchievement(id);
}

bool UserStats::StoreStats()
{
    return StoreService::Get().StoreStats();
}

CallHandle UserStats::FindOrCreateLeaderboard(const char* name, LeaderboardSortMethod sort,
                                              LeaderboardDisplayType display)
{
    return StoreService::Get().FindOrCreateLeaderboard(name, sort, display);
}

CallHandle UserStats::UploadLeaderboardScore(LeaderboardHandle board, LeaderboardUploadMethod method,
                                             std::int32_t score, const std::int32_t* details, std::int32_t detailCount)
{
    return StoreService::Get().UploadLeaderboardScore(board, method, score, details, detailCount);
}

CallHandle UserStats::DownloadLeaderboardEntries(LeaderboardHandle board, LeaderboardDataRequest request,
                                                 std::int32_t rangeStart, std::int32_t rangeEnd)
{
    return StoreService::Get().DownloadLeaderboardEntries(board, request, rangeStart, rangeEnd);
}

std::int32_t UserStats::GetLeaderboardEntryCount(LeaderboardHandle board)
{
    return StoreService::Get().GetLeaderboardEntryCount(board);
}

bool UserStats::GetDownloadedLeaderboardEntry(EntriesHandle entries, std::int32_t index, LeaderboardEntry* entry,
                                              std::int32_t* details, std::int32_t maxDetails)
{
    return StoreService::Get().GetDownloadedLeaderboardEntry(entries, index, entry, details, maxDetails);
}

} // namespace os::store
