/** @file StatsTest.cpp Statistics, achievements, names, friends and the game language. */
#include <cstdlib>

#include "StoreFixture.h"
#include "os/store/Apps.h"
#include "os/store/Friends.h"
#include "os/store/StoreFiles.h"
#include "os/store/User.h"
#include "os/store/Utils.h"

namespace os::store::test
{
namespace
{

using os::testing::StoreFailure;
using os::testing::StoreRequest;

class StatsTest : public StoreFixture
{
protected:
    /// Requests the statistics and returns the result code that arrived (0: none).
    std::int32_t Receive()
    {
        Listener<UserStatsReceived> received;
        if (!stats->RequestCurrentStats())
            return 0;
        Pump();
        return received.heard.empty() ? 0 : received.heard.back().result;
    }
};

TEST_F(StatsTest, AchievementsNeedTheStatisticsFirst)
{
    bool achieved = true;
    EXPECT_FALSE(stats->SetAchievement("ACH_A"));
    EXPECT_FALSE(stats->GetAchievement("ACH_A", &achieved));
    EXPECT_FALSE(stats->StoreStats());
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_A", "name"), "");

    Listener<UserStatsReceived> received;
    ASSERT_TRUE(stats->RequestCurrentStats());
    Pump();
    ASSERT_EQ(received.heard.size(), 1u);
    EXPECT_EQ(received.heard[0].result, kResultOk);
    EXPECT_EQ(received.heard[0].gameId, kLocalAppId);
    EXPECT_EQ(received.heard[0].user, GetUser()->GetUserId());
    EXPECT_TRUE(stats->GetAchievement("ACH_A", &achieved));
    EXPECT_FALSE(achieved);
    EXPECT_FALSE(stats->GetAchievement("bad id!", &achieved));
    EXPECT_FALSE(stats->SetAchievement(""));
}

TEST_F(StatsTest, StoringReportsEachNewAchievementOnceAndPersists)
{
    ASSERT_EQ(Receive(), kResultOk);
    Listener<UserStatsStored> stored;
    Listener<UserAchievementStored> achievements;
    EXPECT_TRUE(stats->SetAchievement("ACH_A"));
    EXPECT_TRUE(stats->SetAchievement("ACH_B"));
    EXPECT_TRUE(stats->SetAchievement("ACH_A"));
    EXPECT_TRUE(stats->StoreStats());
    EXPECT_TRUE(stats->StoreStats());
    EXPECT_TRUE(stored.heard.empty());
    Pump();
    ASSERT_EQ(stored.heard.size(), 2u);
    EXPECT_EQ(stored.heard[0].result, kResultOk);
    ASSERT_EQ(achievements.heard.size(), 2u);
    EXPECT_STREQ(achievements.heard[0].achievementName, "ACH_A");
    EXPECT_STREQ(achievements.heard[1].achievementName, "ACH_B");

    Restart();
    ASSERT_EQ(Receive(), kResultOk);
    bool achieved = false;
    EXPECT_TRUE(stats->GetAchievement("ACH_B", &achieved));
    EXPECT_TRUE(achieved);
    EXPECT_TRUE(stats->GetAchievement("ACH_C", &achieved));
    EXPECT_FALSE(achieved);
}

TEST_F(StatsTest, InjectedStatisticsCodes)
{
    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::ResultCode, 2);
    EXPECT_EQ(Receive(), 2);
    bool achieved = false;
    EXPECT_FALSE(stats->GetAchievement("ACH_A", &achieved));
    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::NoHandle);
    EXPECT_EQ(Receive(), 0);
    ASSERT_EQ(Receive(), kResultOk);

    Listener<UserStatsStored> stored;
    Listener<UserAchievementStored> achievements;
    stats->SetAchievement("ACH_A");
    os::testing::FailNextStoreRequest(StoreRequest::StoreStats, StoreFailure::ResultCode, 5);
    EXPECT_TRUE(stats->StoreStats());
    Pump();
    ASSERT_EQ(stored.heard.size(), 1u);
    EXPECT_EQ(stored.heard[0].result, 5);
    EXPECT_TRUE(achievements.heard.empty());
    // The unlock is still waiting to be stored.
    stats->StoreStats();
    Pump();
    EXPECT_EQ(achievements.heard.size(), 1u);
}

TEST_F(StatsTest, DisplayTextsComeFromTheDefinitions)
{
    ASSERT_EQ(Receive(), kResultOk);
    os::testing::SetAchievementDisplay("ACH_A", "First", "The first one");
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_A", "name"), "First");
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_A", "desc"), "The first one");
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_B", "name"), "ACH_B");
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_B", "desc"), "");
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_B", "icon"), "");
}

TEST_F(StatsTest, NamesAndFriends)
{
    os::testing::SetStoreUser(42, "me");
    os::testing::SetStoreUserName(7, "seven");
    os::testing::SetStoreFriends({7, 8});
    Friends* friends = GetFriends();
    EXPECT_EQ(friends->GetFriendCount(kFriendFlagImmediate), 2);
    EXPECT_EQ(friends->GetFriendCount(1), 0);
    EXPECT_EQ(friends->GetFriendByIndex(1, kFriendFlagImmediate), 8u);
    EXPECT_EQ(friends->GetFriendByIndex(2, kFriendFlagImmediate), 0u);
    EXPECT_STREQ(friends->GetFriendPersonaName(42), "me");
    EXPECT_STREQ(friends->GetFriendPersonaName(7), "seven");
    EXPECT_STREQ(friends->GetFriendPersonaName(8), "");
}

TEST_F(StatsTest, UserIdIsMadeOnceAndKept)
{
    const std::uint64_t id = GetUser()->GetUserId();
    EXPECT_NE(id, 0u);
    EXPECT_NE(std::string(GetFriends()->GetPersonaName()), "");
    Restart();
    EXPECT_EQ(GetUser()->GetUserId(), id);
}

TEST_F(StatsTest, GameLanguageFromTheSettingElseTheLocale)
{
    struct Case
    {
        const char* setting;
        const char* locale;
        const char* language;
    };
    const Case cases[] = {
        {"", "ja_JP.UTF-8", "japanese"}, {"", "en_GB.UTF-8", "english"},  {"", "", "english"},
        {"japanese", "C", "japanese"},   {"english", "ja_JP", "english"}, {"Japanese", "C", "english"},
    };
    const char* savedAll = std::getenv("LC_ALL");
    const std::string saved = savedAll ? savedAll : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting) + "/" + c.locale);
        setenv("LC_ALL", c.locale, 1);
        os::testing::SetStoreLanguage(c.setting);
        EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), c.language);
    }
    os::testing::SetStoreLanguage("japanese");
    Restart();
    EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), "japanese");
    if (savedAll)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

} // namespace
} // namespace os::store::test
