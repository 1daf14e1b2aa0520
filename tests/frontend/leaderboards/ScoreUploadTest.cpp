/** @file ScoreUploadTest.cpp A harness game thread blocked in RequestScoreUpload while the test's main thread runs the
 * frames: the message's length, the retry question, giving up, the spare record, the stop, and a loop of uploads. */
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "LeaderboardTestSupport.h"
#include "os/store/UserStats.h"

using lbtest::JobFixture;

/// The game thread: one call and its answer.
using HarnessThread = std::future<std::int32_t>;

bool Done(const HarnessThread& harness)
{
    return harness.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

class ScoreUploadTest : public JobFixture
{
protected:
    /// Frames while a job is posted, until `done` holds or `limit` such frames ran; the number run.
    /// Between jobs the game thread runs on its own.
    template <class Until>
    static int RunUntil(Until done, int limit = 2000)
    {
        int frames = 0;
        while (!done() && frames < limit) {
            if (TaskPoolCount() == 0) {
                std::this_thread::yield();
                continue;
            }
            Frame();
            ++frames;
        }
        return frames;
    }
    /// Frames until the job shows its n-th dialog.
    void RunUntilDialog(std::size_t n)
    {
        RunUntil([&] { return dialogs.size() >= n; });
        ASSERT_EQ(n, dialogs.size());
    }

    std::int32_t EntryCount(std::int32_t board = 11)
    {
        os::store::UserStats* stats = os::store::GetUserStats();
        for (int i = 0; i < 10 && gSteamLeaderboards->IsBusy(); ++i)
            Frame();
        FindLeaderboardByIndex(board);
        Frames(2);
        return gSteamLeaderboards->GetBoardHandle() != 0
                   ? stats->GetLeaderboardEntryCount(gSteamLeaderboards->GetBoardHandle())
                   : -1;
    }
};

TEST_F(ScoreUploadTest, SuccessShowsTheMessageSixtyFramesAlsoInALoopAndAFailureAsksRetriesOrGivesUpAndTheWaitEnds)
{
    PrepareCompanionGameScoreUpload(1, 1500, 4);
    HarnessThread harness = std::async(std::launch::async, [] { return RequestScoreUpload(); });
    RunUntilDialog(1);
    const int frames = 1 + RunUntil([&] { return Done(harness); });
    ASSERT_TRUE(Done(harness));
    EXPECT_GE(frames, 60);
    // One message dialog, no other, closing; the entry stored.
    EXPECT_EQ(
        std::tuple(1, 1u, 0, true, std::vector<std::string>{"802"}, 1),
        std::tuple(harness.get(), dialogs.size(), dialogs[0]->GetKind(), dialogs[0]->IsClosing(), texts, EntryCount()));

    // A game thread uploading in a loop.
    dialogs.clear();
    constexpr int kUploads = 5;
    std::atomic<int> finished{0};
    HarnessThread loop = std::async(std::launch::async, [&finished] {
        for (int i = 1; i <= kUploads; ++i) {
            PrepareCompanionGameScoreUpload(1, static_cast<std::uint32_t>(100 * i), static_cast<std::uint8_t>(i));
            RequestScoreUpload();
            finished.fetch_add(1);
        }
        return 1;
    });
    RunUntil([&] { return Done(loop); }, 5000);
    ASSERT_TRUE(Done(loop));
    // One message each, no failure; the user's one entry, kept at the best.
    EXPECT_EQ(
        std::tuple(kUploads, std::size_t{kUploads}, std::int32_t{kUploads}, 1),
        std::tuple(finished.load(), dialogs.size(), std::int32_t(GetScoreUploadJobRecord().Progress), EntryCount()));

    // A failure asks, then retries with a new time or gives up; the spare record or the stop end the wait.
    texts.clear();
    dialogs.clear();
    std::uint64_t now = 5000;
    SetScoreUploadClock([&now] { return now += 1000; });
    os::testing::FailNextStoreRequest(os::testing::StoreRequest::UploadScore, os::testing::StoreFailure::Refused);
    PrepareMainGameScoreUpload(2, 0, 900, 7);
    HarnessThread retried = std::async(std::launch::async, [] { return RequestScoreUpload(); });
    RunUntilDialog(2);
    EXPECT_EQ(2, dialogs[1]->GetKind());
    const std::uint64_t firstTime = GetScoreUploadJobRecord().UploadTime;
    dialogs[1]->OnKeyDown(nullptr, 0x0D);
    RunUntilDialog(3);
    EXPECT_EQ(0, dialogs[2]->GetKind()) << "the whole attempt again";
    RunUntil([&] { return Done(retried); });
    ASSERT_TRUE(Done(retried));
    EXPECT_GT(GetScoreUploadJobRecord().UploadTime, firstTime);
    EXPECT_EQ((std::vector<std::string>{"802", "805_1", "805_2", "802"}), texts);

    texts.clear();
    dialogs.clear();
    os::testing::FailNextStoreRequest(os::testing::StoreRequest::FindLeaderboard, os::testing::StoreFailure::NotFound);
    HarnessThread second = std::async(std::launch::async, [] { return RequestScoreUpload(); });
    RunUntilDialog(2);
    dialogs[1]->OnKeyDown(nullptr, 0x1B);
    RunUntilDialog(3);
    EXPECT_EQ(1, dialogs[2]->GetKind());
    RunUntil([&] { return Done(second); });
    ASSERT_TRUE(Done(second));
    EXPECT_EQ(std::tuple(1, std::vector<std::string>{"802", "805_1", "805_2", "806"}), std::tuple(second.get(), texts));

    // The spare record and the stop end the wait.
    for (int i = 0; i < kFrontEndTaskCount; ++i)
        TaskPoolAlloc([](FrontEndTask*) {});
    PrepareMainGameScoreUpload(0, 0, 1, 1);
    EXPECT_EQ(1, RequestScoreUpload()) << "returns at once with the spare record";
    TaskPoolInit();

    std::atomic<bool> stop{false};
    HarnessThread stopped = std::async(std::launch::async, [&stop] {
        SetScoreUploadStopCheck([&stop] { return stop.load(); });
        const std::int32_t result = RequestScoreUpload();
        SetScoreUploadStopCheck(nullptr);
        return result;
    });
    while (TaskPoolCount() == 0)
        std::this_thread::yield();
    stop.store(true);
    const std::int32_t result = stopped.get();
    EXPECT_EQ(std::tuple(1, 1), std::tuple(result, TaskPoolCount())) << "the job ends at its next pass";
    Frame();
    EXPECT_EQ(0, TaskPoolCount());
}

TEST_F(ScoreUploadTest, AJobLeftByAStoppedWaitEndsAtItsNextPassAndNeverSendsTheNextGamesRequest)
{
    std::atomic<bool> stop{false};
    PrepareCompanionGameScoreUpload(1, 1500, 4); // board 11
    HarnessThread stopped = std::async(std::launch::async, [&stop] {
        SetScoreUploadStopCheck([&stop] { return stop.load(); });
        const std::int32_t result = RequestScoreUpload();
        SetScoreUploadStopCheck(nullptr);
        return result;
    });
    RunUntilDialog(1);
    RunUntil([] { return !gSteamLeaderboards->IsBusy(); });
    Frame(); // the board is found: the job's next pass uploads
    stop.store(true);
    ASSERT_EQ(1, stopped.get());

    // The next game posts before that pass.
    PrepareMainGameScoreUpload(2, 0, 900, 7); // board 2
    HarnessThread next = std::async(std::launch::async, [] { return RequestScoreUpload(); });
    while (TaskPoolCount() < 2)
        std::this_thread::yield();
    RunUntil([&] { return Done(next); });
    ASSERT_TRUE(Done(next));
    // The left job closed its message and sent nothing: the next game's score is on its own board only.
    EXPECT_EQ(std::tuple(0, 2u, true, 0, 0, 1), (std::tuple{TaskPoolCount(), dialogs.size(), dialogs[0]->IsClosing(),
                                                            dialogs[1]->GetKind(), EntryCount(11), EntryCount(2)}));
}
