/** @file SteamAchievements.h The user's statistics and achievements, and the games' unlock call. */
#pragma once

#include <atomic>
#include <cstdint>

#include "os/store/Callback.h"
#include "os/store/StoreTypes.h"

/// One achievement of the table.
struct SteamAchievement
{
    std::int32_t id;        ///< the game event id that UnlockAchievement is given
    const char* identifier; ///< the platform's identifier
    char name[128];         ///< display name; at first a copy of the identifier
    char desc[256];
    bool achieved;
    std::int32_t icon;
};

/// Created by the program entry after the store started, deleted before it shuts down.
class CSteamAchievements
{
public:
    static constexpr std::int32_t kFirstId = 30;
    static constexpr std::int32_t kCount = 19;

    /// Registers the three callbacks and, only with a logged-on user, asks for the statistics.
    CSteamAchievements();
    ~CSteamAchievements();
    CSteamAchievements(const CSteamAchievements&) = delete;
    CSteamAchievements& operator=(const CSteamAchievements&) = delete;

    void OnUserStatsReceived(const os::store::UserStatsReceived* result);
    void OnUserStatsStored(const os::store::UserStatsStored* result);
    void OnAchievementStored(const os::store::UserAchievementStored* result);

    /// The statistics have arrived; read from game threads.
    bool IsInitialized() const { return initialized_.load(std::memory_order_acquire); }
    std::uint64_t GetGameId() const { return gameId_; }
    std::int32_t GetCount() const { return count_; }
    /// Entry `index` (0 to kCount - 1) of the table.
    const SteamAchievement& GetAchievement(std::int32_t index) const;

    /// The identifier of a game event id; null outside 30..48.
    static const char* GetIdentifier(std::int32_t id);

private:
    std::uint64_t gameId_ = 0;
    SteamAchievement achievements_[kCount];
    std::int32_t count_ = 0;
    std::atomic<bool> initialized_{false};
    os::store::Callback<CSteamAchievements, os::store::UserStatsReceived> statsReceived_;
    os::store::Callback<CSteamAchievements, os::store::UserStatsStored> statsStored_;
    os::store::Callback<CSteamAchievements, os::store::UserAchievementStored> achievementStored_;
};

/// The process-wide achievements object; the program entry sets and clears it.
extern std::atomic<CSteamAchievements*> gSteamAchievements;

/// Given a game event id 30 to 48: once the statistics have arrived, sets that achievement and
/// stores the statistics. Safe on a game thread; other ids are ignored.
void UnlockAchievement(std::int32_t id);
