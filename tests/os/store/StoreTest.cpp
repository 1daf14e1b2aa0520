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

TEST(StoreLifeTest, InterfacesExistOnlyWhileRunningAndInitTouchesNoFile)
{
    korvane::test::TempDir dir;
    EXPECT_EQ(GetUserStats(), nullptr);
    EXPECT_EQ(GetUser(), nullptr);
    ASSERT_TRUE(Init());
    ASSERT_TRUE(GetUserStats() && GetFriends() && GetApps());
    EXPECT_EQ(GetUtils()->GetAppId(), kLocalAppId);
    // Without a save folder the data lives in memory: nothing anywhere is written.
    EXPECT_NE(GetUser()->GetUserId(), 0u);
    EXPECT_TRUE(GetUser()->IsLoggedOn());
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

TEST_F(StoreFixture, ResultsArriveOnlyInsideTheNextPumpAndOnce)
{
    Catcher<LeaderboardFindResult> find;
    find.Wait(FindCall("BOARD"));
    EXPECT_TRUE(find.holder.IsActive());
    EXPECT_EQ(find.count, 0);
    Pump(2);
    ASSERT_EQ(find.count, 1);
    EXPECT_FALSE(find.failed || find.holder.IsActive());
    EXPECT_EQ(find.last->found, 1);
    EXPECT_NE(find.last->leaderboard, 0u);
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
    slow.holder.Set(FindCall("A"), &slow, &Tagged::On);
    os::testing::DelayStoreResults(0);
    fast.holder.Set(FindCall("B"), &fast, &Tagged::On);
    for (const auto& expected : {std::vector<int>{2}, {2}, {2, 1}}) {
        Pump();
        EXPECT_EQ(order, expected);
    }
}

TEST_F(StoreFixture, UnregisteredHoldersHearNothing)
{
    Catcher<LeaderboardFindResult> cancelled, replaced;
    cancelled.Wait(FindCall("A")).holder.Cancel();
    replaced.Wait(FindCall("B")).Wait(FindCall("C"));
    auto listener = std::make_unique<Listener<UserStatsReceived>>();
    ASSERT_TRUE(stats->RequestCurrentStats());
    listener->holder.Unregister();
    {
        // A destroyed holder is forgotten by the pump.
        Catcher<LeaderboardFindResult> gone;
        gone.Wait(FindCall("D"));
    }
    Pump();
    EXPECT_EQ(cancelled.count, 0);
    EXPECT_EQ(replaced.count, 1); // only the second request's result
    EXPECT_TRUE(listener->heard.empty());
}

TEST_F(StoreFixture, ShutdownDropsPendingResultsUnheard)
{
    Catcher<LeaderboardFindResult> find, next;
    Listener<UserStatsReceived> listener;
    find.Wait(FindCall("A"));
    ASSERT_TRUE(stats->RequestCurrentStats());
    Restart();
    Pump(3);
    EXPECT_EQ(find.count, 0);
    EXPECT_TRUE(listener.heard.empty());
    // Call handles are never reused, so the old holder cannot catch a new result.
    next.Wait(FindCall("A"));
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
        bool ioFailure; // the result carries the flag (else found / success reads 0)
    };
    const Case cases[] = {
        {StoreRequest::FindLeaderboard, StoreFailure::IoFailure, true},
        {StoreRequest::FindLeaderboard, StoreFailure::NotFound, false},
        {StoreRequest::FindLeaderboard, StoreFailure::NoHandle, false},
        {StoreRequest::UploadScore, StoreFailure::IoFailure, true},
        {StoreRequest::UploadScore, StoreFailure::Refused, false},
        {StoreRequest::UploadScore, StoreFailure::NoHandle, false},
        {StoreRequest::DownloadEntries, StoreFailure::IoFailure, true},
        {StoreRequest::DownloadEntries, StoreFailure::NoHandle, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.request) * 10 + static_cast<int>(c.failure));
        os::testing::FailNextStoreRequest(c.request, c.failure);
        Catcher<LeaderboardFindResult> find;
        Catcher<LeaderboardScoreUploaded> upload;
        Catcher<LeaderboardScoresDownloaded> download;
        CallHandle call = 0;
        if (c.request == StoreRequest::FindLeaderboard)
            find.Wait(call = FindCall("BOARD"));
        else if (c.request == StoreRequest::UploadScore)
            upload.Wait(call = stats->UploadLeaderboardScore(board, kUploadKeepBest, 10, words, 61));
        else
            download.Wait(call = stats->DownloadLeaderboardEntries(board, kRequestGlobal, 1, 10));
        const bool started = c.failure != StoreFailure::NoHandle;
        EXPECT_EQ(call != 0, started);
        Pump();
        EXPECT_EQ(find.count + upload.count + download.count, started ? 1 : 0);
        EXPECT_EQ(find.failed || upload.failed || download.failed, c.ioFailure);
        EXPECT_EQ((find.last && find.last->found) || (upload.last && upload.last->success), false);
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
    const std::tuple<LeaderboardHandle, std::int32_t, LeaderboardUploadMethod> uploads[] = {
        {board + 100, 61, kUploadKeepBest},
        {board, 65, kUploadKeepBest},
        {board, -1, kUploadKeepBest},
        {board, 61, kUploadNone}};
    for (const auto& [target, count, method] : uploads)
        EXPECT_EQ(stats->UploadLeaderboardScore(target, method, 1, words, count), 0u) << count;
    EXPECT_EQ(stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, nullptr, 61), 0u);
    EXPECT_EQ(stats->DownloadLeaderboardEntries(board, static_cast<LeaderboardDataRequest>(3), 1, 10), 0u);
    EXPECT_EQ(stats->DownloadLeaderboardEntries(0, kRequestGlobal, 1, 10), 0u);
    EXPECT_EQ(FindCall(nullptr), 0u);
    EXPECT_EQ(stats->GetLeaderboardEntryCount(board + 100), 0);
    LeaderboardEntry entry;
    EXPECT_FALSE(stats->GetDownloadedLeaderboardEntry(12345, 0, &entry, nullptr, 0));
    // Names and settings the service cannot keep are "not found".
    for (const auto& [name, sort] : std::vector<std::pair<std::string, LeaderboardSortMethod>>{
             {"", kSortDescending}, {std::string(129, 'A'), kSortDescending}, {"X", kSortNone}}) {
        Catcher<LeaderboardFindResult> find;
        find.Wait(FindCall(name.c_str(), sort));
        Pump();
        ASSERT_EQ(find.count, 1);
        EXPECT_EQ(find.last->found, 0);
    }
}

TEST_F(StoreFixture, LoggedOffUserGetsNoStatisticsAndNoBoards)
{
    os::testing::SetStoreLoggedOn(false);
    EXPECT_FALSE(GetUser()->IsLoggedOn() || stats->RequestCurrentStats());
    EXPECT_EQ(FindCall("A"), 0u);
}

TEST_F(StoreFixture, AThrowingHandlerDoesNotStopThePump)
{
    struct Thrower
    {
        void On(const LeaderboardFindResult*, bool) { throw std::runtime_error("handler"); }
        CallResult<Thrower, LeaderboardFindResult> holder;
    } thrower;
    thrower.holder.Set(FindCall("A"), &thrower, &Thrower::On);
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
