/** @file GameApplicationTest.cpp The message loop, idle calls, the quit message and the cursor counter. */
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "AppTestSupport.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/GameApplication.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/core/StandardScene.h"

#include <boost/make_shared.hpp>
#include "os/window/MessageQueue.h"

namespace korvane::test
{
namespace
{

struct IdleCounter : IGameApplicationListener
{
    int calls = 0;
    std::function<void(int)> onIdle;
    void OnIdle() override
    {
        ++calls;
        if (onIdle)
            onIdle(calls);
    }
};

class GameApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override { os::testing::ResetWindowMessageQueue(); }
    void TearDown() override { os::testing::ResetWindowMessageQueue(); }
};

TEST_F(GameApplicationTest, RunCallsTheIdleListenerUntilTheQuitMessage)
{
    CGameApplication application(nullptr);
    IdleCounter idle;
    idle.onIdle = [](int calls)
    {
        if (calls == 5)
            os::window::PostQuitMessage(3);
    };
    application.SetListener(&idle);
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(idle.calls, 5);
    EXPECT_EQ(os::window::GetQueuedMessageCount(), 0u);
}

TEST_F(GameApplicationTest, WithoutAnIdleListenerTheLoopWaitsForAPost)
{
    CGameApplication application(nullptr);
    std::thread poster([] {
        os::window::PostMessage(nullptr, 0x0400, 0, 0);
        os::window::PostQuitMessage(0);
    });
    EXPECT_EQ(application.Run(), 0);
    poster.join();
    EXPECT_EQ(os::window::GetQueuedMessageCount(), 0u);
}

TEST_F(GameApplicationTest, PendingMessagesGoBeforeTheIdleCall)
{
    CGameApplication application(nullptr);
    IdleCounter idle;
    int seenQueued = -1;
    idle.onIdle = [&](int)
    {
        seenQueued = static_cast<int>(os::window::GetQueuedMessageCount());
        os::window::PostQuitMessage(0);
    };
    application.SetListener(&idle);
    os::window::PostMessage(nullptr, 0x0400, 1, 2);
    os::window::PostMessage(nullptr, 0x0400, 3, 4);
    application.Run();
    EXPECT_EQ(seenQueued, 0);
    EXPECT_EQ(idle.calls, 1);
}

TEST_F(GameApplicationTest, ProcessMessagesDispatchesEverythingThenIdlesOnce)
{
    CGameApplication application(nullptr);
    IdleCounter idle;
    application.SetListener(&idle);
    application.ProcessMessages();
    EXPECT_EQ(idle.calls, 1);
    os::window::PostMessage(nullptr, 0x0400, 0, 0);
    os::window::PostMessage(nullptr, 0x0401, 0, 0);
    application.ProcessMessages();
    EXPECT_EQ(idle.calls, 2);
    EXPECT_EQ(os::window::GetQueuedMessageCount(), 0u);
    application.SetListener(nullptr);
    application.ProcessMessages();
    EXPECT_EQ(idle.calls, 2);
}

TEST_F(GameApplicationTest, QuitTakenByProcessMessagesStillEndsTheLoop)
{
    CGameApplication application(nullptr);
    IdleCounter idle;
    application.SetListener(&idle);
    os::window::PostQuitMessage(0);
    os::window::PostMessage(nullptr, 0x0400, 0, 0);
    application.ProcessMessages();
    EXPECT_EQ(idle.calls, 0); // the pass ended at the quit
    // The quit is still there: the loop ends without another idle call.
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(idle.calls, 0);
}

TEST_F(GameApplicationTest, ProcessMessagesInsideTheIdleCallDoesNotSwallowTheQuit)
{
    CGameApplication application(nullptr);
    IdleCounter idle;
    idle.onIdle = [&](int calls)
    {
        if (calls == 1)
        {
            os::window::PostQuitMessage(0);
            application.ProcessMessages(); // a nested pass, as a modal wait would run
        }
    };
    application.SetListener(&idle);
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(idle.calls, 1);
}

TEST_F(GameApplicationTest, CursorCounterEndsAtZeroOrMinusOne)
{
    os::testing::SetCursorDisplayCount(0);
    CGameApplication application(nullptr);
    application.ShowCursor(false);
    EXPECT_EQ(os::testing::GetCursorDisplayCount(), -1);
    application.ShowCursor(false); // already hidden: nothing
    EXPECT_EQ(os::testing::GetCursorDisplayCount(), -1);
    application.ShowCursor(true);
    EXPECT_EQ(os::testing::GetCursorDisplayCount(), 0);
    application.ShowCursor(true);
    EXPECT_EQ(os::testing::GetCursorDisplayCount(), 0);
    os::testing::SetCursorDisplayCount(0);
}

// Counts its updates and the frames they carried; quits the loop after a number of updates.
class CountingScene : public CStandardScene
{
public:
    explicit CountingScene(int quitAfter) : CStandardScene(0x8000), quitAfter_(quitAfter) {}
    void Update(int frames) override
    {
        ++updates;
        framesSeen.push_back(frames);
        if (updates == quitAfter_)
            os::window::PostQuitMessage(0);
    }
    int updates = 0;
    std::vector<int> framesSeen;

private:
    int quitAfter_;
};

TEST_F(GameApplicationTest, LoopKeeperAndScenesRunPacedFrames)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    keeper.SetFrameRate(75);
    keeper.maxFrames = 2;
    CSceneManager scenes;
    keeper.frameListener = &scenes;
    auto scene = boost::make_shared<CountingScene>(75);
    scenes.AddScene(scene);
    CGameApplication application(nullptr);
    application.SetListener(&keeper);

    const std::uint64_t start = clock.Now();
    EXPECT_EQ(application.Run(), 0);
    // The scene entered on the first pass and was then updated once per tick, one frame each.
    EXPECT_EQ(scene->updates, 75);
    EXPECT_EQ(scene->framesSeen, std::vector<int>(75, 1));
    const double seconds = static_cast<double>(clock.Now() - start) / 1e9;
    EXPECT_NEAR(seconds, 1.0, 0.002); // the 75th tick after the one that brought the scene in
    EXPECT_NEAR(keeper.measuredFrameRate, 75.0, 1.0);
}

} // namespace
} // namespace korvane::test
