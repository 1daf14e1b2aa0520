/** @file ScoreUploadStopTest.cpp Each game thread hands the score upload its stop request: a game waiting for its
 * upload gives up when the thread is asked to stop. */
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "frontend/steam/ScoreUpload.h"
#include "games/qvr2/QVR2Thread.h"
#include "games/tessaril/TessarilThread.h"
#include "host/ConsoleFrameComposer.h"
#include "host/FrontEndTaskPool.h"

namespace
{

/// Posts a score upload from inside the game's first hand-over, on its thread as a game does after
/// name entry, and tells when the upload's wait has returned.
class CUploadingConsole : public CConsoleFrameComposer
{
public:
    CUploadingConsole() { MakeBuffers(2048); }

    void PresentConsoleFrame() override
    {
        if (posted_.exchange(true))
            return;
        PrepareMainGameScoreUpload(0, 0, 1, 1);
        RequestScoreUpload();
        returned_.set_value();
    }
    std::future<void> Returned() { return returned_.get_future(); }

private:
    std::atomic<bool> posted_{false};
    std::promise<void> returned_;
};

template <typename Thread>
class ScoreUploadStopTest : public ::testing::Test
{};
using GameThreads = ::testing::Types<CQVR2Thread, CTessarilThread>;
TYPED_TEST_SUITE(ScoreUploadStopTest, GameThreads);

TYPED_TEST(ScoreUploadStopTest, AStopRequestEndsTheGameThreadsWaitForItsUpload)
{
    TaskPoolInit();
    CUploadingConsole console;
    std::future<void> returned = console.Returned();
    TypeParam game;
    game.Start();
    // Nobody runs the pool here: the job stays posted, and only the stop can end the wait.
    while (TaskPoolCount() == 0)
        std::this_thread::yield();
    game.RequestStop();
    const bool ended = returned.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    EXPECT_TRUE(ended) << "the game's wait for its upload did not see the thread's stop";
    if (!ended) {
        TaskPoolInit(); // clears the job's record: its serial changes, which ends the wait
        returned.wait();
    }
    game.WaitForExit(0, 1);
    EXPECT_FALSE(game.IsActive());
    TaskPoolInit();
}

} // namespace
