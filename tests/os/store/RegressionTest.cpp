/** @file RegressionTest.cpp Faults found on a second reading of the store service, one case each. */
#include "StoreFixture.h"
#include "os/store/StoreFiles.h"

namespace os::store::test
{
namespace
{

class StoreRegressionTest : public StoreFixture
{
protected:
    bool ReceiveStats()
    {
        Listener<UserStatsReceived> received;
        if (!stats->RequestCurrentStats())
            return false;
        Pump();
        return received.heard.size() == 1 && received.heard[0].result == kResultOk;
    }
    bool Achieved(const char* id)
    {
        bool achieved = false;
        return stats->GetAchievement(id, &achieved) && achieved;
    }
};

// The statistics can arrive before the program names the save folder. The achievements file
// of that folder was then never read: its achievements read as not achieved, and the next
// store wrote the file anew with the unlocks of this run only, losing the earlier ones.
TEST_F(StoreRegressionTest, StatisticsBeforeTheFolderKeepTheFolderAchievements)
{
    ASSERT_TRUE(ReceiveStats());
    ASSERT_TRUE(stats->SetAchievement("ACH_OLD"));
    ASSERT_TRUE(stats->StoreStats());
    Pump();

    // The next run pumps once before its folder is known.
    Shutdown();
    ASSERT_TRUE(Init());
    stats = GetUserStats();
    ASSERT_TRUE(ReceiveStats());
    ASSERT_TRUE(stats->SetAchievement("ACH_EARLY"));
    SetSaveFolder(dir.Path());
    EXPECT_TRUE(Achieved("ACH_OLD"));
    EXPECT_TRUE(Achieved("ACH_EARLY"));

    ASSERT_TRUE(stats->SetAchievement("ACH_NEW"));
    Listener<UserStatsStored> stored;
    ASSERT_TRUE(stats->StoreStats());
    Pump();
    ASSERT_EQ(stored.heard.size(), 1u);
    EXPECT_EQ(stored.heard[0].result, kResultOk);

    Restart();
    ASSERT_TRUE(ReceiveStats());
    EXPECT_TRUE(Achieved("ACH_OLD"));
    EXPECT_TRUE(Achieved("ACH_EARLY"));
    EXPECT_TRUE(Achieved("ACH_NEW"));
}

// The language setting was cut to its 32 stored bytes in the middle of a character.
TEST_F(StoreRegressionTest, StoredLanguageIsCutAtAWholeCharacter)
{
    const std::string language = std::string(31, 'a') + "\xC3\xA9"; // 33 bytes, the last character two
    os::testing::SetStoreLanguage(language);
    const UserRecord user = DecodeUser(korvane::test::TempDir::Read(dir.File(kUserFileName)));
    EXPECT_EQ(user.language, std::string(31, 'a'));
}

} // namespace
} // namespace os::store::test
