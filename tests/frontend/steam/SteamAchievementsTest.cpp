/** @file SteamAchievementsTest.cpp The achievements object, its callbacks and unlocks from a game thread. */
#include <thread>
#include <tuple>

#include "SteamFixture.h"
#include "frontend/steam/SteamAchievements.h"
#include "os/store/UserStats.h"
#include "os/store/Utils.h"

using os::testing::StoreFailure;
using os::testing::StoreRequest;

class SteamAchievementsTest : public SteamFixture
{
protected:
    void TearDown() override
    {
        delete gSteamAchievements.exchange(nullptr);
        SteamFixture::TearDown();
    }

    /// Creates the process-wide object as the program entry does.
    CSteamAchievements& Create()
    {
        gSteamAchievements = new CSteamAchievements;
        return *gSteamAchievements.load();
    }
};

TEST_F(SteamAchievementsTest, UnlocksWaitForTheStatisticsDisplayTextsAreCutAtWholeCharactersAndAGameThreadMayUnlock)
{
    os::testing::SetAchievementDisplay("ACHIEVEMENT_QVR2AREA20CLEAR", std::string(200, 'n'), std::string(300, 'd'));
    // 126 ASCII bytes, then a 3-byte character that does not fit in 127.
    os::testing::SetAchievementDisplay("ACHIEVEMENT_QVR2AREA26CLEAR", std::string(126, 'a') + "\xE3\x81\x82", "");
    CSteamAchievements& achievements = Create();
    // The table: 19 rows, the last the event 48.
    EXPECT_EQ(std::tuple(os::store::kLocalAppId, 19, std::string("ACHIEVEMENT_TVLASTBOSSLOOKED"), 48, false),
              std::tuple(achievements.GetGameId(), achievements.GetCount(),
                         std::string(achievements.GetAchievement(18).identifier), achievements.GetAchievement(18).id,
                         achievements.IsInitialized()));
    UnlockAchievement(30); // ignored: nothing has arrived yet
    Pump();
    EXPECT_EQ(std::tuple(true, false, std::vector<std::string>{"Received stats and achievements from Steam\n"}),
              std::tuple(achievements.IsInitialized(), Achieved("ACHIEVEMENT_QVR2AREA20CLEAR"), debug));
    EXPECT_EQ(
        std::tuple(std::string(127, 'n'), std::string(255, 'd'), std::string(126, 'a'),
                   std::string("ACHIEVEMENT_QVR2EASYALL")),
        std::tuple(std::string(achievements.GetAchievement(0).name), std::string(achievements.GetAchievement(0).desc),
                   std::string(achievements.GetAchievement(1).name), std::string(achievements.GetAchievement(2).name)));

    debug.clear();
    UnlockAchievement(30);
    UnlockAchievement(29); // outside the table: ignored
    UnlockAchievement(49);
    EXPECT_TRUE(debug.empty()); // results come only from the pump
    Pump();
    EXPECT_EQ(std::tuple(std::vector<std::string>{"Stored stats for Steam\n", "Stored Achievement for Steam\n"}, true),
              std::tuple(debug, Achieved("ACHIEVEMENT_QVR2AREA20CLEAR")));
    // The next object takes what is achieved from the statistics.
    delete gSteamAchievements.exchange(nullptr);
    CSteamAchievements& next = Create();
    Pump();
    EXPECT_EQ(std::pair(true, false), std::pair(next.GetAchievement(0).achieved, next.GetAchievement(1).achieved));

    // A game thread unlocks while the main thread pumps.
    debug.clear();
    std::atomic<bool> done{false};
    std::thread game([&] {
        for (int round = 0; round < 20; ++round)
            for (std::int32_t id = 30; id <= 48; ++id)
                UnlockAchievement(id);
        done = true;
    });
    while (!done)
        Pump();
    game.join();
    Pump();
    // Every call reached the store, each new achievement reported once (that they persist: the store's own tests).
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "Stored Achievement for Steam\n"), 18);
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "Stored stats for Steam\n"), 20 * 19);
}

TEST_F(SteamAchievementsTest, FailuresAreReportedAndForeignOrLateResultsHeardByNoOne)
{
    // Another game's results first: nothing heard.
    CSteamAchievements& achievements = Create();
    os::store::UserStatsReceived other{os::store::kLocalAppId + 1, os::store::kResultOk, kSelf};
    achievements.OnUserStatsReceived(&other);
    os::store::UserAchievementStored otherStored{};
    otherStored.gameId = 7;
    achievements.OnAchievementStored(&otherStored);
    EXPECT_EQ(std::tuple(false, 0u), std::tuple(achievements.IsInitialized(), debug.size()));
    // Deleted before its request is answered: the result goes nowhere.
    delete gSteamAchievements.exchange(nullptr);
    Pump();
    EXPECT_TRUE(debug.empty());

    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::ResultCode, 2);
    CSteamAchievements& failing = Create();
    Pump();
    EXPECT_FALSE(failing.IsInitialized());
    os::store::UserStatsStored stored{os::store::kLocalAppId, static_cast<os::store::Result>(15)};
    failing.OnUserStatsStored(&stored);
    EXPECT_EQ(debug, std::vector<std::string>({"RequestStats - failed, 2\n", "StatsStored - failed, 15\n"}));

    // Logged off: no request at all, so nothing to report.
    delete gSteamAchievements.exchange(nullptr);
    debug.clear();
    os::testing::SetStoreLoggedOn(false);
    CSteamAchievements& offline = Create();
    Pump(3);
    EXPECT_EQ(std::tuple(false, 0u), std::tuple(offline.IsInitialized(), debug.size()));
}
