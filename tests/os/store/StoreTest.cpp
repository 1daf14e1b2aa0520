/** @file StoreTest.cpp The service's life cycle, the pump, the result holders and injected failures. */
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "StoreFixture.h"
#include "os/store/Apps.h"
#include "os/store/Friends.h"
#include "os/store/User.h"
#include "os/store/Utils.h"

namespace os::store::test
{
namespace
{

using os::testing::StoreFailure;
using os::testing::StoreRequest;

bool FolderIsEmpty(const std::string& path)
{
    return std::filesystem::is_empty(path);
}

TEST(StoreLifeTest, InterfacesExistOnlyWhileRunningAndInitTouchesNoFile)
{
    korvane::test::TempDir dir;
    EXPECT_EQ(GetUserStats(), nullptr);
    EXPECT_EQ(GetUser(), nullptr);
    ASSERT_TRUE(Init());
    ASSERT_NE(GetUserStats(), nullptr);
    ASSERT_NE(GetFriends(), nullptr);
    ASSERT_NE(GetApps(), nullptr);
    EXPECT_EQ(GetUtils()->GetAppId(), kLocalAppId);
    // Without a save folder the data lives in memory: nothing anywhere is written.
    EXPECT_NE(GetUser()->GetUserId(), 0u);
    EXPECT_TRUE(GetUser()->IsLoggedOn());
    EXPECT_FALSE(std::filesystem::exists("store_user.dat"));
    SetSaveFolder(dir.Path());
    EXPECT_TRUE(FolderIsEmpty(dir.Path()));
    // The program's own paths may use backslashes.
    std::string windowsStyle = dir.Path() + "sub\\";
    std::filesystem::create_directory(dir.File("sub"));
    SetSaveFolder(windowsStyle);
    GetUser()->GetUserId();
    EXPECT_TRUE(std::filesystem::exists(dir.File("sub/store_user.dat")));
    Shutdown();
    EXPECT_EQ(GetUserStats(), nullptr);
    RunCallbacks(); // harmless when stopped
}

TEST_F(StoreFixture, ResultsArriveOnlyInsideTheNextPump)
{
    Catcher<LeaderboardFindResult> find;
    find.Wait(stats->FindOrCreateLeaderboard("BOARD", kSortDescending, kDisplayNumeric));
    EXPECT_TRUE(find.holder.IsActive());
    EXPECT_EQ(find.count, 0);
    Pump();
    ASSERT_EQ(find.count, 1);
    EXPECT_FALSE(find.failed);
    EXPECT_EQ(find.last->found, 1);
    EXPECT_NE(find.last->leaderboard, 0u);
    EXPECT_FALSE(find.holder.IsActive());
    Pump();
    EXPECT_EQ(find.count, 1);
    // The same name gives the same handle.
    EXPECT_EQ(Find("BOARD"), find.last->leaderboard);
    EXPECT_NE(Find("OTHER"), find.last->leaderboard);
}

TEST_F(StoreFixture, DelayedResultsArriveInCompletionOrder)
{
    std::vector<int> order;
    struct Tagged
    {
        std::vector<int>* order;
        int tag;
        void On(const LeaderboardFindResult*, bool) { order->push_back(tag); }
        CallResult<Tagged, LeaderboardFindResult> holder;
    } slow{&order, 1, {}}, fast{&order, 2, {}};
    os::testing::DelayStoreResults(2);
    slow.holder.Set(stats->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric), &slow, &Tagged::On);
    os::testing::DelayStoreResults(0);
    fast.holder.Set(stats->FindOrCreateLeaderboard("B", kSortDescending, kDisplayNumeric), &fast, &Tagged::On);
    Pump();
    EXPECT_EQ(order, std::vector<int>({2}));
    Pump();
    EXPECT_EQ(order, std::vector<int>({2}));
    Pump();
    EXPECT_EQ(order, std::vector<int>({2, 1}));
}

TEST_F(StoreFixture, UnregisteredHoldersHearNothing)
{
    Catcher<LeaderboardFindResult> cancelled, replaced;
    cancelled.Wait(stats->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric));
    cancelled.holder.Cancel();
    const CallHandle first = stats->FindOrCreateLeaderboard("B", kSortDescending, kDisplayNumeric);
    replaced.Wait(first);
    replaced.Wait(stats->FindOrCreateLeaderboard("C", kSortDescending, kDisplayNumeric));
    auto listener = std::make_unique<Listener<UserStatsReceived>>();
    ASSERT_TRUE(stats->RequestCurrentStats());
    listener->holder.Unregister();
    Pump();
    EXPECT_EQ(cancelled.count, 0);
    EXPECT_EQ(replaced.count, 1); // only the second request's result
    EXPECT_TRUE(listener->heard.empty());
    {
        // A destroyed holder is forgotten by the pump.
        Catcher<LeaderboardFindResult> gone;
        gone.Wait(stats->FindOrCreateLeaderboard("D", kSortDescending, kDisplayNumeric));
    }
    Pump();
}

TEST_F(StoreFixture, ShutdownDropsPendingResultsUnheard)
{
    Catcher<LeaderboardFindResult> find;
    Listener<UserStatsReceived> listener;
    find.Wait(stats->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric));
    ASSERT_TRUE(stats->RequestCurrentStats());
    Shutdown();
    ASSERT_TRUE(Init());
    Pump(3);
    EXPECT_EQ(find.count, 0);
    EXPECT_TRUE(listener.heard.empty());
    // Call handles are never reused, so the old holder cannot catch a new result.
    Catcher<LeaderboardFindResult> next;
    next.Wait(GetUserStats()->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric));
    Pump();
    EXPECT_EQ(next.count, 1);
    EXPECT_EQ(find.count, 0);
}

TEST_F(StoreFixture, InjectedFailuresOfEveryRequest)
{
    const LeaderboardHandle board = Find("BOARD");
    ASSERT_NE(board, 0u);
    const std::int32_t words[61] = {};
    struct Case
    {
        StoreRequest request;
        StoreFailure failure;
        bool started;      // a call handle was returned
        bool ioFailure;    // the result carries the flag
        std::uint8_t flag; // found / success of the record
    };
    const Case cases[] = {
        {StoreRequest::FindLeaderboard, StoreFailure::IoFailure, true, true, 0},
        {StoreRequest::FindLeaderboard, StoreFailure::NotFound, true, false, 0},
        {StoreRequest::FindLeaderboard, StoreFailure::NoHandle, false, false, 0},
        {StoreRequest::UploadScore, StoreFailure::IoFailure, true, true, 0},
        {StoreRequest::UploadScore, StoreFailure::Refused, true, false, 0},
        {StoreRequest::UploadScore, StoreFailure::NoHandle, false, false, 0},
        {StoreRequest::DownloadEntries, StoreFailure::IoFailure, true, true, 0},
        {StoreRequest::DownloadEntries, StoreFailure::NoHandle, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.request) * 10 + static_cast<int>(c.failure));
        os::testing::FailNextStoreRequest(c.request, c.failure);
        Catcher<LeaderboardFindResult> find;
        Catcher<LeaderboardScoreUploaded> upload;
        Catcher<LeaderboardScoresDownloaded> download;
        CallHandle call = 0;
        if (c.request == StoreRequest::FindLeaderboard)
            find.Wait(call = stats->FindOrCreateLeaderboard("BOARD", kSortDescending, kDisplayNumeric));
        else if (c.request == StoreRequest::UploadScore)
            upload.Wait(call = stats->UploadLeaderboardScore(board, kUploadKeepBest, 10, words, 61));
        else
            download.Wait(call = stats->DownloadLeaderboardEntries(board, kRequestGlobal, 1, 10));
        EXPECT_EQ(call != 0, c.started);
        Pump();
        const int count = find.count + upload.count + download.count;
        EXPECT_EQ(count, c.started ? 1 : 0);
        if (!c.started)
            continue;
        EXPECT_EQ(find.failed || upload.failed || download.failed, c.ioFailure);
        if (find.last) {
            EXPECT_EQ(find.last->found, c.flag);
        }
        if (upload.last) {
            EXPECT_EQ(upload.last->success, c.flag);
        }
    }
    // Each injection is used once: the next requests succeed, and nothing was uploaded.
    EXPECT_EQ(Find("BOARD"), board);
    EXPECT_EQ(stats->GetLeaderboardEntryCount(board), 0);
    EXPECT_EQ(Upload(board, 5).success, 1);
}

TEST_F(StoreFixture, MalformedRequestsFailAtOnce)
{
    const LeaderboardHandle board = Find("BOARD");
    std::int32_t words[65] = {};
    EXPECT_EQ(stats->UploadLeaderboardScore(board + 100, kUploadKeepBest, 1, words, 61), 0u);
    EXPECT_EQ(stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, 65), 0u);
    EXPECT_EQ(stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, -1), 0u);
    EXPECT_EQ(stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, nullptr, 61), 0u);
    EXPECT_EQ(stats->UploadLeaderboardScore(board, kUploadNone, 1, words, 61), 0u);
    EXPECT_EQ(stats->DownloadLeaderboardEntries(board, static_cast<LeaderboardDataRequest>(3), 1, 10), 0u);
    EXPECT_EQ(stats->DownloadLeaderboardEntries(0, kRequestGlobal, 1, 10), 0u);
    EXPECT_EQ(stats->FindOrCreateLeaderboard(nullptr, kSortDescending, kDisplayNumeric), 0u);
    EXPECT_EQ(stats->GetLeaderboardEntryCount(board + 100), 0);
    LeaderboardEntry entry;
    EXPECT_FALSE(stats->GetDownloadedLeaderboardEntry(12345, 0, &entry, nullptr, 0));
    // Names and settings the service cannot keep are "not found".
    for (const auto& [name, sort] : std::vector<std::pair<std::string, LeaderboardSortMethod>>{
             {"", kSortDescending}, {std::string(129, 'A'), kSortDescending}, {"X", kSortNone}}) {
        Catcher<LeaderboardFindResult> find;
        find.Wait(stats->FindOrCreateLeaderboard(name.c_str(), sort, kDisplayNumeric));
        Pump();
        ASSERT_EQ(find.count, 1);
        EXPECT_EQ(find.last->found, 0);
    }
}

TEST_F(StoreFixture, LoggedOffUserGetsNoStatisticsAndNoBoards)
{
    os::testing::SetStoreLoggedOn(false);
    EXPECT_FALSE(GetUser()->IsLoggedOn());
    EXPECT_FALSE(stats->RequestCurrentStats());
    EXPECT_EQ(stats->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric), 0u);
}

TEST_F(StoreFixture, AThrowingHandlerDoesNotStopThePump)
{
    struct Thrower
    {
        void On(const LeaderboardFindResult*, bool) { throw std::runtime_error("handler"); }
        CallResult<Thrower, LeaderboardFindResult> holder;
    } thrower;
    thrower.holder.Set(stats->FindOrCreateLeaderboard("A", kSortDescending, kDisplayNumeric), &thrower, &Thrower::On);
    EXPECT_THROW(Pump(), std::runtime_error);
    EXPECT_NE(Find("A"), 0u);
}

TEST_F(StoreFixture, DebugOutputIsSilentUnlessSwitchedOnOrCaptured)
{
    unsetenv("KORVANE_STORE_DEBUG");
    ::testing::internal::CaptureStderr();
    DebugOutput("quiet\n");
    setenv("KORVANE_STORE_DEBUG", "1", 1);
    DebugOutput("loud\n");
    unsetenv("KORVANE_STORE_DEBUG");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "loud\n");

    std::vector<std::string> lines;
    os::testing::CaptureStoreDebugOutput([&](const std::string& text) { lines.push_back(text); });
    DebugOutput("one\n");
    DebugOutput(nullptr);
    EXPECT_EQ(lines, std::vector<std::string>({"one\n"}));
}

} // namespace
} // namespace os::store::test
