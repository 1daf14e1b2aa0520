/** @file StatsTest.cpp Statistics, achievements, names, friends and the game language. */
#include <cstdlib>

#include "StoreFixture.h"
#include "os/Values.h"
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
using ostest::V;
using StatsTest = StoreFixture;
using StoreRegressionTest = StoreFixture;

TEST_F(StatsTest, AchievementsUserIdNamesAndTheGameLanguageAreMadeReportedAndKept)
{
    bool achieved = true;
    EXPECT_FALSE(stats->SetAchievement("ACH_A") || stats->GetAchievement("ACH_A", &achieved) || stats->StoreStats());
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_A", "name"), "");

    Listener<UserStatsReceived> received;
    ASSERT_TRUE(stats->RequestCurrentStats());
    Pump();
    ASSERT_EQ(received.heard.size(), 1u);
    const UserStatsReceived& r = received.heard[0];
    EXPECT_EQ(V(r.result, r.gameId, r.user), V(kResultOk, kLocalAppId, GetUser()->GetUserId()));
    EXPECT_TRUE(stats->GetAchievement("ACH_A", &achieved) && !achieved);
    EXPECT_FALSE(stats->GetAchievement("bad id!", &achieved) || stats->SetAchievement(""));

    // Storing reports each new achievement once; that they persist is the regression case's.
    Listener<UserStatsStored> stored;
    Listener<UserAchievementStored> achievements;
    for (const char* id : {"ACH_A", "ACH_B", "ACH_A"})
        EXPECT_TRUE(stats->SetAchievement(id));
    EXPECT_TRUE(stats->StoreStats() && stats->StoreStats());
    Pump();
    ASSERT_EQ(V(stored.heard.size(), achievements.heard.size()), V(2, 2));
    EXPECT_EQ(std::tuple(stored.heard[0].result, std::string(achievements.heard[0].achievementName),
                         std::string(achievements.heard[1].achievementName)),
              std::tuple(kResultOk, std::string("ACH_A"), std::string("ACH_B")));

    // The user id is made once and kept; names of the user and the friends; the game language.
    const std::uint64_t id = GetUser()->GetUserId();
    EXPECT_TRUE(id != 0 && *GetFriends()->GetPersonaName());
    Restart();
    EXPECT_EQ(GetUser()->GetUserId(), id);

    // Names of the user and the friends.
    os::testing::SetStoreUser(42, "me");
    os::testing::SetStoreUserName(7, "seven");
    os::testing::SetStoreFriends({7, 8});
    Friends* friends = GetFriends();
    EXPECT_EQ(V(friends->GetFriendCount(kFriendFlagImmediate), friends->GetFriendCount(1)), V(2, 0));
    EXPECT_EQ(V(friends->GetFriendByIndex(1, kFriendFlagImmediate), friends->GetFriendByIndex(2, kFriendFlagImmediate)),
              V(8, 0));
    EXPECT_EQ((std::vector<std::string>{friends->GetFriendPersonaName(42), friends->GetFriendPersonaName(7),
                                        friends->GetFriendPersonaName(8)}),
              (std::vector<std::string>{"me", "seven", ""}));

    // The game language comes from the setting, else the locale.
    const char* savedAll = std::getenv("LC_ALL");
    const std::string saved = savedAll ? savedAll : "";
    const char* const cases[][3] = {
        {"", "ja_JP.UTF-8", "japanese"}, {"", "en_GB.UTF-8", "english"},  {"", "", "english"},
        {"japanese", "C", "japanese"},   {"english", "ja_JP", "english"}, {"Japanese", "C", "english"}};
    for (const auto& [setting, locale, language] : cases) {
        SCOPED_TRACE(std::string(setting) + "/" + locale);
        setenv("LC_ALL", locale, 1);
        os::testing::SetStoreLanguage(setting);
        EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), language);
    }
    os::testing::SetStoreLanguage("japanese");
    Restart();
    EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), "japanese");
    if (savedAll)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    // The stored setting is cut to its 32 bytes at a whole character, not inside one.
    os::testing::SetStoreLanguage(std::string(31, 'a') + "\xC3\xA9"); // 33 bytes, the last character two
    EXPECT_EQ(DecodeUser(korvane::test::TempDir::Read(dir.File(kUserFileName))).language, std::string(31, 'a'));
}

TEST_F(StatsTest, InjectedStatisticsCodesAndDisplayTexts)
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
    EXPECT_EQ(V(stored.heard[0].result, achievements.heard.size()), V(5, 0));
    // The unlock is still waiting to be stored.
    stats->StoreStats();
    Pump();
    EXPECT_EQ(achievements.heard.size(), 1u);

    // Defined texts and the identifier for an undefined name are the achievement client's cases; the rest is empty.
    os::testing::SetAchievementDisplay("ACH_A", "First", "The first one");
    EXPECT_EQ(std::pair(std::string(stats->GetAchievementDisplayAttribute("ACH_A", "icon")),
                        std::string(stats->GetAchievementDisplayAttribute("ACH_B", "desc"))),
              std::pair(std::string(), std::string()));
}

// The statistics can arrive before the program names the save folder. The achievements file
// of that folder was then never read: its achievements read as not achieved, and the next
// store wrote the file anew with the unlocks of this run only, losing the earlier ones.
TEST_F(StoreRegressionTest, StatisticsBeforeTheFolderKeepTheFolderAchievements)
{
    ASSERT_EQ(Receive(), kResultOk);
    ASSERT_TRUE(stats->SetAchievement("ACH_OLD") && stats->StoreStats());
    Pump();

    // The next run pumps once before its folder is known.
    Shutdown();
    ASSERT_TRUE(Init());
    stats = GetUserStats();
    ASSERT_EQ(Receive(), kResultOk);
    ASSERT_TRUE(stats->SetAchievement("ACH_EARLY"));
    SetSaveFolder(dir.Path());
    EXPECT_EQ(V(Achieved("ACH_OLD"), Achieved("ACH_EARLY")), V(true, true));

    Listener<UserStatsStored> stored;
    ASSERT_TRUE(stats->SetAchievement("ACH_NEW") && stats->StoreStats());
    Pump();
    ASSERT_EQ(stored.heard.size(), 1u);
    EXPECT_EQ(stored.heard[0].result, kResultOk);

    Restart();
    ASSERT_EQ(Receive(), kResultOk);
    EXPECT_EQ(V(Achieved("ACH_OLD"), Achieved("ACH_EARLY"), Achieved("ACH_NEW")), V(true, true, true));
}

} // namespace
} // namespace os::store::test
