/** @file StoreTypes.h Handles, codes and result records of the game-store service. */
#pragma once

#include <cstddef>
#include <cstdint>

namespace os::store
{

/// A started request; 0 means the request could not be started and no result will come.
using CallHandle = std::uint64_t;
/// A board found or created; 0 means none.
using LeaderboardHandle = std::uint64_t;
/// The entries of one download; valid until the next download.
using EntriesHandle = std::uint64_t;

constexpr CallHandle kInvalidCallHandle = 0;
constexpr std::uint64_t kInvalidUgcHandle = ~std::uint64_t{0};

/// Result codes carried by the statistics callbacks.
enum Result : std::int32_t
{
    kResultOk = 1,
    kResultFail = 2,
    kResultNoConnection = 3,
    kResultInvalidParam = 8,
    kResultFileNotFound = 9,
};

enum LeaderboardSortMethod : std::int32_t
{
    kSortNone = 0,
    kSortAscending = 1,  ///< lower scores are better
    kSortDescending = 2, ///< higher scores are better
};

enum LeaderboardDisplayType : std::int32_t
{
    kDisplayNone = 0,
    kDisplayNumeric = 1,
    kDisplayTimeSeconds = 2,
    kDisplayTimeMilliseconds = 3,
};

enum LeaderboardUploadMethod : std::int32_t
{
    kUploadNone = 0,
    kUploadKeepBest = 1,    ///< the stored score changes only when the new one is better
    kUploadForceUpdate = 2, ///< the new score always replaces the stored one
};

enum LeaderboardDataRequest : std::int32_t
{
    kRequestGlobal = 0,           ///< ranks start..end, 1-based, inclusive
    kRequestGlobalAroundUser = 1, ///< start..end relative to the user's rank
    kRequestFriends = 2,          ///< the user and every friend; the range is ignored
};

/// Friend-list selection flag of Friends::GetFriendCount (the plain friends).
constexpr std::int32_t kFriendFlagImmediate = 4;

/// Most detail words one entry carries.
constexpr std::int32_t kMaxLeaderboardDetails = 64;
/// Longest board name in bytes.
constexpr std::size_t kMaxLeaderboardNameLength = 128;

/// Callback ids of the statistics service; the holders compare them.
constexpr int kUserStatsReceivedId = 1101;
constexpr int kUserStatsStoredId = 1102;
constexpr int kUserAchievementStoredId = 1103;
constexpr int kLeaderboardFindResultId = 1104;
constexpr int kLeaderboardScoresDownloadedId = 1105;
constexpr int kLeaderboardScoreUploadedId = 1106;
constexpr int kLeaderboardUgcSetId = 1111;
constexpr int kRemoteStorageFileShareResultId = 1307;
constexpr int kRemoteStorageDownloadUgcResultId = 1317;

struct LeaderboardFindResult
{
    static constexpr int kCallbackId = kLeaderboardFindResultId;
    LeaderboardHandle leaderboard = 0;
    std::uint8_t found = 0; ///< 0 when the board was not found and not created
};

struct LeaderboardScoreUploaded
{
    static constexpr int kCallbackId = kLeaderboardScoreUploadedId;
    std::uint8_t success = 0;
    LeaderboardHandle leaderboard = 0;
    std::int32_t score = 0;
    std::uint8_t scoreChanged = 0;
    std::int32_t globalRankNew = 0;
    std::int32_t globalRankPrevious = 0; ///< 0 when the user had no entry
};

struct LeaderboardScoresDownloaded
{
    static constexpr int kCallbackId = kLeaderboardScoresDownloadedId;
    LeaderboardHandle leaderboard = 0;
    EntriesHandle entries = 0;
    std::int32_t entryCount = 0;
};

struct LeaderboardUgcSet
{
    static constexpr int kCallbackId = kLeaderboardUgcSetId;
    Result result = kResultFail;
    LeaderboardHandle leaderboard = 0;
};

/// One downloaded entry.
struct LeaderboardEntry
{
    std::uint64_t user = 0;
    std::int32_t globalRank = 0; ///< from 1
    std::int32_t score = 0;
    std::int32_t details = 0; ///< detail words stored with the entry
    std::uint64_t ugc = kInvalidUgcHandle;
};

struct UserStatsReceived
{
    static constexpr int kCallbackId = kUserStatsReceivedId;
    std::uint64_t gameId = 0;
    Result result = kResultFail;
    std::uint64_t user = 0;
};

struct UserStatsStored
{
    static constexpr int kCallbackId = kUserStatsStoredId;
    std::uint64_t gameId = 0;
    Result result = kResultFail;
};

struct UserAchievementStored
{
    static constexpr int kCallbackId = kUserAchievementStoredId;
    std::uint64_t gameId = 0;
    bool groupAchievement = false;
    char achievementName[128] = {};
    std::uint32_t currentProgress = 0;
    std::uint32_t maxProgress = 0;
};

struct RemoteStorageFileShareResult
{
    static constexpr int kCallbackId = kRemoteStorageFileShareResultId;
    Result result = kResultFail;
    std::uint64_t file = kInvalidUgcHandle;
};

struct RemoteStorageDownloadUgcResult
{
    static constexpr int kCallbackId = kRemoteStorageDownloadUgcResultId;
    Result result = kResultFail;
    std::uint64_t file = kInvalidUgcHandle;
    std::int32_t sizeInBytes = 0;
};

} // namespace os::store
