/** @file ScoreUploadTest.cpp A harness game thread blocked in RequestScoreUpload while the test's main thread runs the
 * frames: the message's length, the retry question, giving up, the spare record, the stop, and a loop of uploads. */
#include <atomic>
#include <chrono>
#include <future>
#include <string>
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
    /// How long any wait of these tests may take before it fails.
    static constexpr std::chrono::seconds kPatience{30};

    /// A game thread running `calls` (RequestScoreUpload, once or more). Its waits stop when a
    /// wait of the test fails or `stop` (if given) is set, so a job that never ends fails the
    /// test instead of leaving the thread blocked in the future's destructor.
    template <class Calls>
    HarnessThread StartGame(Calls calls, const std::atomic<bool>* stop = nullptr)
    {
        return std::async(std::launch::async, [this, calls, stop] {
            SetScoreUploadStopCheck([this, stop] { return gaveUp_.load() || (stop != nullptr && stop->load()); });
            const std::int32_t result = calls();
            SetScoreUploadStopCheck(nullptr);
            return result;
        });
    }
    HarnessThread StartUpload()
    {
        return StartGame([] { return RequestScoreUpload(); });
    }

    /// Fails the test with `what` and lets every game thread's wait go.
    void GiveUp(const std::string& what)
    {
        ADD_FAILURE() << what;
        gaveUp_ = true;
    }

    /// Frames while a job is posted, until `done` holds; the number run. Between jobs the game
    /// thread runs on its own. More than `limit` such frames, or kPatience, fail the test.
    template <class Until>
    int RunUntil(Until done, int limit = 2000)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        int frames = 0;
        while (!done() && frames < limit && std::chrono::steady_clock::now() < deadline) {
            if (TaskPoolCount() == 0) {
                std::this_thread::yield();
                continue;
            }
            Frame();
            ++frames;
        }
        if (!done())
            GiveUp("not done after " + std::to_string(frames) + " frames");
        return frames;
    }
    /// Until the game threads have posted `count` jobs, without running them.
    void WaitForPosts(int count)
    {
        const auto deadline = std::chrono::steady_clock::now() + kPatience;
        while (TaskPoolCount() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        if (TaskPoolCount() < count)
            GiveUp("the game thread never posted its upload");
    }
    /// The game thread's answer, once it has returned.
    std::int32_t Answer(HarnessThread& harness)
    {
        if (harness.wait_for(kPatience) != std::future_status::ready) {
            GiveUp("the game thread's wait never ended");
            TaskPoolInit(); // every record's serial changes, which ends any wait for one
        }
        return harness.get();
    }

    /// Frames until the job shows its n-th dialog. The caller asserts it: the dialogs it goes on
    /// to read are then there, and on a failure the game threads' waits are let go.
    ::testing::AssertionResult RunUntilDialog(std::size_t n)
    {
        RunUntil([&] { return dialogs.size() >= n; });
        if (dialogs.size() == n)
            return ::testing::AssertionSuccess();
        gaveUp_ = true;
        return ::testing::AssertionFailure() << dialogs.size() << " dialogs shown where " << n << " were due";
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

private:
    std::atomic<bool> gaveUp_{false};
};

TEST_F(ScoreUploadTest, SuccessShowsTheMessageSixtyFramesAlsoInALoopAndAFailureAsksRetriesOrGivesUpAndTheWaitEnds)
{
    PrepareCompanionGameScoreUpload(1, 1500, 4);
    HarnessThread harness = StartUpload();
    ASSERT_TRUE(RunUntilDialog(1));
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
    HarnessThread loop = StartGame([&finished] {
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
    HarnessThread retried = StartUpload();
    ASSERT_TRUE(RunUntilDialog(2));
    EXPECT_EQ(2, dialogs[1]->GetKind());
    const std::uint64_t firstTime = GetScoreUploadJobRecord().UploadTime;
    dialogs[1]->OnKeyDown(nullptr, 0x0D);
    ASSERT_TRUE(RunUntilDialog(3));
    EXPECT_EQ(0, dialogs[2]->GetKind()) << "the whole attempt again";
    RunUntil([&] { return Done(retried); });
    ASSERT_TRUE(Done(retried));
    EXPECT_GT(GetScoreUploadJobRecord().UploadTime, firstTime);
    EXPECT_EQ((std::vector<std::string>{"802", "805_1", "805_2", "802"}), texts);

    texts.clear();
    dialogs.clear();
    os::testing::FailNextStoreRequest(os::testing::StoreRequest::FindLeaderboard, os::testing::StoreFailure::NotFound);
    HarnessThread second = StartUpload();
    ASSERT_TRUE(RunUntilDialog(2));
    dialogs[1]->OnKeyDown(nullptr, 0x1B);
    ASSERT_TRUE(RunUntilDialog(3));
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
    HarnessThread stopped = StartGame([] { return RequestScoreUpload(); }, &stop);
    WaitForPosts(1);
    stop.store(true);
    const std::int32_t result = Answer(stopped);
    EXPECT_EQ(std::tuple(1, 1), std::tuple(result, TaskPoolCount())) << "the job ends at its next pass";
    Frame();
    EXPECT_EQ(0, TaskPoolCount());
}

TEST_F(ScoreUploadTest, AJobLeftByAStoppedWaitEndsAtItsNextPassAndNeverSendsTheNextGamesRequest)
{
    std::atomic<bool> stop{false};
    PrepareCompanionGameScoreUpload(1, 1500, 4); // board 11
    HarnessThread stopped = StartGame([] { return RequestScoreUpload(); }, &stop);
    ASSERT_TRUE(RunUntilDialog(1));
    RunUntil([] { return !gSteamLeaderboards->IsBusy(); });
    Frame(); // the board is found: the job's next pass uploads
    stop.store(true);
    ASSERT_EQ(1, Answer(stopped));

    // The next game posts before that pass.
    PrepareMainGameScoreUpload(2, 0, 900, 7); // board 2
    HarnessThread next = StartUpload();
    WaitForPosts(2);
    RunUntil([&] { return Done(next); });
    ASSERT_TRUE(Done(next));
    ASSERT_EQ(2u, dialogs.size());
    // The left job closed its message and sent nothing: the next game's score is on its own board only.
    EXPECT_EQ(std::tuple(0, 2u, true, 0, 0, 1), (std::tuple{TaskPoolCount(), dialogs.size(), dialogs[0]->IsClosing(),
                                                            dialogs[1]->GetKind(), EntryCount(11), EntryCount(2)}));
}
