/** @file StoreTest.cpp The service's life cycle, the pump, the result holders and injected failures; statistics,
 * achievements, names, friends and the game language. */
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

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

TEST(StoreLifeTest, InterfacesExistOnlyWhileRunningAndInitTouchesNoFile)
{
    korvane::test::TempDir dir;
    EXPECT_FALSE(GetUserStats() || GetUser());
    ASSERT_TRUE(Init());
    ASSERT_TRUE(GetUserStats() && GetFriends() && GetApps());
    EXPECT_EQ(GetUtils()->GetAppId(), kLocalAppId);
    // Without a save folder the data lives in memory: nothing anywhere is written.
    EXPECT_TRUE(GetUser()->GetUserId() != 0 && GetUser()->IsLoggedOn());
    EXPECT_FALSE(std::filesystem::exists("store_user.dat"));
    SetSaveFolder(dir.Path());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    // The program's own paths may use backslashes.
    std::filesystem::create_directory(dir.File("sub"));
    SetSaveFolder(dir.Path() + "sub\\");
    GetUser()->GetUserId();
    EXPECT_TRUE(std::filesystem::exists(dir.File("sub/store_user.dat")));
    Shutdown();
    EXPECT_EQ(GetUserStats(), nullptr);
    RunCallbacks(); // harmless when stopped
}

TEST_F(StoreFixture, ResultsArriveOnceInOrderToRegisteredHoldersMalformedRequestsFailAtOnceAndDebugOutputIsQuiet)
{
    Catcher<LeaderboardFindResult> find;
    find.Wait(FindCall("BOARD"));
    EXPECT_EQ(V(find.holder.IsActive(), find.count), V(true, 0));
    Pump(2);
    ASSERT_EQ(find.count, 1);
    EXPECT_EQ(V(find.failed, find.holder.IsActive(), find.last->found, find.last->leaderboard != 0),
              V(false, false, 1, true));
    // The same name gives the same handle.
    EXPECT_EQ(Find("BOARD"), find.last->leaderboard);
    EXPECT_NE(Find("OTHER"), find.last->leaderboard);

    // Delayed results arrive in completion order.
    std::vector<int> order;
    struct Tagged
    {
        std::vector<int>* order;
        int tag;
        void On(const LeaderboardFindResult*, bool) { order->push_back(tag); }
        CallResult<Tagged, LeaderboardFindResult> holder;
    } slow{&order, 1, {}}, fast{&order, 2, {}};
    os::testing::DelayStoreResults(2);
    slow.holder.Set(FindCall("A"), &slow, &Tagged::On);
    os::testing::DelayStoreResults(0);
    fast.holder.Set(FindCall("B"), &fast, &Tagged::On);
    for (const auto& expected : {std::vector<int>{2}, {2}, {2, 1}}) {
        Pump();
        EXPECT_EQ(order, expected);
    }

    // Cancelled, replaced, unregistered and destroyed holders hear nothing.
    Catcher<LeaderboardFindResult> cancelled, replaced;
    cancelled.Wait(FindCall("A")).holder.Cancel();
    replaced.Wait(FindCall("B")).Wait(FindCall("C"));
    auto listener = std::make_unique<Listener<UserStatsReceived>>();
    ASSERT_TRUE(stats->RequestCurrentStats());
    listener->holder.Unregister();
    Catcher<LeaderboardFindResult>().Wait(FindCall("D"));
    Pump();
    EXPECT_EQ(V(cancelled.count, replaced.count, listener->heard.size()), V(0, 1, 0)); // only the second request's

    // Malformed requests and a logged-off user fail at once.
    const LeaderboardHandle board = Find("BOARD");
    std::int32_t words[65] = {};
    LeaderboardEntry entry;
    EXPECT_EQ(V(stats->UploadLeaderboardScore(board + 100, kUploadKeepBest, 1, words, 61),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, 65),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, -1),
                stats->UploadLeaderboardScore(board, kUploadNone, 1, words, 61),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, nullptr, 61),
                stats->DownloadLeaderboardEntries(board, static_cast<LeaderboardDataRequest>(3), 1, 10),
                stats->DownloadLeaderboardEntries(0, kRequestGlobal, 1, 10), FindCall(nullptr),
                stats->GetLeaderboardEntryCount(board + 100),
                stats->GetDownloadedLeaderboardEntry(12345, 0, &entry, nullptr, 0)),
              V(0, 0, 0, 0, 0, 0, 0, 0, 0, false));
    // Names and settings the service cannot keep are "not found".
    for (const auto& [name, sort] : std::vector<std::pair<std::string, LeaderboardSortMethod>>{
             {"", kSortDescending}, {std::string(129, 'A'), kSortDescending}, {"X", kSortNone}}) {
        Catcher<LeaderboardFindResult> find;
        find.Wait(FindCall(name.c_str(), sort));
        Pump();
        ASSERT_EQ(find.count, 1);
        EXPECT_EQ(find.last->found, 0);
    }
    // A logged-off user gets no statistics and no boards.
    os::testing::SetStoreLoggedOn(false);
    EXPECT_FALSE(GetUser()->IsLoggedOn() || stats->RequestCurrentStats());
    EXPECT_EQ(FindCall("A"), 0u);

    // Debug output is silent unless switched on or captured.
    unsetenv("KORVANE_STORE_DEBUG");
    ::testing::internal::CaptureStderr();
    DebugOutput("quiet\n");
    setenv("KORVANE_STORE_DEBUG", "1", 1);
    DebugOutput("loud\n");
    unsetenv("KORVANE_STORE_DEBUG");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "loud\n");

    // What a capture receives is the leaderboard and achievement clients' cases; nothing is no text.
    os::testing::CaptureStoreDebugOutput([](const std::string&) { ADD_FAILURE(); });
    DebugOutput(nullptr);
}

TEST_F(StoreFixture, ShutdownDropsPendingResultsAThrowingHandlerDoesNotStopThePumpInjectedFailuresAndDisplayTexts)
{
    Catcher<LeaderboardFindResult> find, next;
    Listener<UserStatsReceived> listener;
    find.Wait(FindCall("A"));
    ASSERT_TRUE(stats->RequestCurrentStats());
    Restart();
    Pump(3);
    EXPECT_EQ(V(find.count, listener.heard.size()), V(0, 0));
    // Call handles are never reused, so the old holder cannot catch a new result.
    next.Wait(FindCall("A"));
    Pump();
    EXPECT_EQ(V(next.count, find.count), V(1, 0));

    struct Thrower
    {
        void On(const LeaderboardFindResult*, bool) { throw std::runtime_error("handler"); }
        CallResult<Thrower, LeaderboardFindResult> holder;
    } thrower;
    thrower.holder.Set(FindCall("T"), &thrower, &Thrower::On);
    EXPECT_THROW(Pump(), std::runtime_error);
    EXPECT_NE(Find("T"), 0u);

    // Injected failures of every request; requests refused a handle are the leaderboard client's cases.
    const LeaderboardHandle board = Find("BOARD");
    ASSERT_NE(board, 0u);
    const std::int32_t words[61] = {};
    // The result carries the I/O failure flag, else found / success reads 0.
    const std::tuple<StoreRequest, StoreFailure, bool> cases[] = {
        {StoreRequest::FindLeaderboard, StoreFailure::IoFailure, true},
        {StoreRequest::FindLeaderboard, StoreFailure::NotFound, false},
        {StoreRequest::UploadScore, StoreFailure::IoFailure, true},
        {StoreRequest::UploadScore, StoreFailure::Refused, false},
        {StoreRequest::DownloadEntries, StoreFailure::IoFailure, true},
    };
    for (const auto& [request, failure, ioFailure] : cases) {
        SCOPED_TRACE(static_cast<int>(request) * 10 + static_cast<int>(failure));
        os::testing::FailNextStoreRequest(request, failure);
        Catcher<LeaderboardFindResult> find;
        Catcher<LeaderboardScoreUploaded> upload;
        Catcher<LeaderboardScoresDownloaded> download;
        CallHandle call = 0;
        if (request == StoreRequest::FindLeaderboard)
            find.Wait(call = FindCall("BOARD"));
        else if (request == StoreRequest::UploadScore)
            upload.Wait(call = stats->UploadLeaderboardScore(board, kUploadKeepBest, 10, words, 61));
        else
            download.Wait(call = stats->DownloadLeaderboardEntries(board, kRequestGlobal, 1, 10));
        Pump();
        EXPECT_EQ(V(call != 0, find.count + upload.count + download.count,
                    find.failed || upload.failed || download.failed,
                    (find.last && find.last->found) || (upload.last && upload.last->success)),
                  V(true, 1, ioFailure, false));
    }
    // Each injection is used once: the next requests succeed, and nothing was uploaded.
    EXPECT_EQ(Find("BOARD"), board);
    EXPECT_EQ(stats->GetLeaderboardEntryCount(board), 0);
    EXPECT_EQ(Upload(board, 5).success, 1);

    // Injected statistics codes, and the display texts.
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
