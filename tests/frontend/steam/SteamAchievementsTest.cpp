/** @file SteamAchievementsTest.cpp The achievements object, its callbacks and unlocks from a game thread. */
#include <memory>
#include <thread>

#include "SteamFixture.h"
#include "frontend/steam/SteamAchievements.h"
#include "os/store/UserStats.h"
#include "os/store/Utils.h"

namespace steam_test
{
namespace
{

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

    /// Whether the store holds the achievement (statistics requested if needed).
    static bool Stored(const char* id)
    {
        bool achieved = false;
        os::store::GetUserStats()->GetAchievement(id, &achieved);
        return achieved;
    }
};

TEST_F(SteamAchievementsTest, UnlocksWaitForTheStatistics)
{
    CSteamAchievements& achievements = Create();
    EXPECT_EQ(achievements.GetGameId(), os::store::kLocalAppId);
    EXPECT_EQ(achievements.GetCount(), 19);
    EXPECT_STREQ(achievements.GetAchievement(18).identifier, "ACHIEVEMENT_TVLASTBOSSLOOKED");
    EXPECT_EQ(achievements.GetAchievement(18).id, 48);
    EXPECT_FALSE(achievements.IsInitialized());
    UnlockAchievement(30); // ignored: nothing has arrived yet
    Pump();
    EXPECT_TRUE(achievements.IsInitialized());
    EXPECT_EQ(debug, std::vector<std::string>({"Received stats and achievements from Steam\n"}));
    EXPECT_FALSE(Stored("ACHIEVEMENT_QVR2AREA20CLEAR"));

    debug.clear();
    UnlockAchievement(30);
    UnlockAchievement(29); // outside the table: ignored
    UnlockAchievement(49);
    EXPECT_TRUE(debug.empty()); // results come only from the pump
    Pump();
    EXPECT_EQ(debug, std::vector<std::string>({"Stored stats for Steam\n", "Stored Achievement for Steam\n"}));
    EXPECT_TRUE(Stored("ACHIEVEMENT_QVR2AREA20CLEAR"));
}

TEST_F(SteamAchievementsTest, FailedStatisticsAreReportedAndLoggedOffMakesNoRequest)
{
    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::ResultCode, 2);
    CSteamAchievements& achievements = Create();
    Pump();
    EXPECT_FALSE(achievements.IsInitialized());
    EXPECT_EQ(debug, std::vector<std::string>({"RequestStats - failed, 2\n"}));

    debug.clear();
    os::store::UserStatsStored stored{os::store::kLocalAppId, static_cast<os::store::Result>(15)};
    achievements.OnUserStatsStored(&stored);
    EXPECT_EQ(debug, std::vector<std::string>({"StatsStored - failed, 15\n"}));

    // Logged off: no request at all, so nothing to report.
    delete gSteamAchievements.exchange(nullptr);
    debug.clear();
    os::testing::SetStoreLoggedOn(false);
    CSteamAchievements& offline = Create();
    Pump(3);
    EXPECT_FALSE(offline.IsInitialized());
    EXPECT_TRUE(debug.empty());
}

TEST_F(SteamAchievementsTest, DisplayTextsAreCutAtWholeCharacters)
{
    os::testing::SetAchievementDisplay("ACHIEVEMENT_QVR2AREA20CLEAR", std::string(200, 'n'), std::string(300, 'd'));
    // 126 ASCII bytes, then a 3-byte character that does not fit in 127.
    os::testing::SetAchievementDisplay("ACHIEVEMENT_QVR2AREA26CLEAR", std::string(126, 'a') + "\xE3\x81\x82", "");
    CSteamAchievements& achievements = Create();
    Pump();
    EXPECT_EQ(std::string(achievements.GetAchievement(0).name), std::string(127, 'n'));
    EXPECT_EQ(std::string(achievements.GetAchievement(0).desc), std::string(255, 'd'));
    EXPECT_EQ(std::string(achievements.GetAchievement(1).name), std::string(126, 'a'));
    EXPECT_STREQ(achievements.GetAchievement(2).name, "ACHIEVEMENT_QVR2EASYALL");
}

TEST_F(SteamAchievementsTest, OtherGamesAndDeletedObjectsHearNothing)
{
    CSteamAchievements& achievements = Create();
    os::store::UserStatsReceived other{os::store::kLocalAppId + 1, os::store::kResultOk, kSelf};
    achievements.OnUserStatsReceived(&other);
    os::store::UserAchievementStored stored{};
    stored.gameId = 7;
    achievements.OnAchievementStored(&stored);
    EXPECT_FALSE(achievements.IsInitialized());
    EXPECT_TRUE(debug.empty());
    // Deleted before its request is answered: the result goes nowhere.
    delete gSteamAchievements.exchange(nullptr);
    Pump();
    EXPECT_TRUE(debug.empty());
}

TEST_F(SteamAchievementsTest, GameThreadUnlocksWhileTheMainThreadPumps)
{
    CSteamAchievements& achievements = Create();
    Pump();
    ASSERT_TRUE(achievements.IsInitialized());
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
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "Stored Achievement for Steam\n"), 19);
    EXPECT_EQ(std::count(debug.begin(), debug.end(), "Stored stats for Steam\n"), 20 * 19);

    // Every unlock reached the file: the next run sees all of them.
    delete gSteamAchievements.exchange(nullptr);
    os::store::Shutdown();
    ASSERT_TRUE(os::store::Init());
    os::store::SetSaveFolder(dir.Path());
    CSteamAchievements& next = Create();
    Pump();
    for (std::int32_t i = 0; i < next.GetCount(); ++i)
        EXPECT_TRUE(next.GetAchievement(i).achieved) << next.GetAchievement(i).identifier;
}

} // namespace
} // namespace steam_test
