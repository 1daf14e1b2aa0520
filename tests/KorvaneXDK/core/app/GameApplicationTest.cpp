/** @file GameApplicationTest.cpp The message loop, idle calls, the quit message and the cursor counter. */
#include <thread>

#include "AppTestSupport.h"
#include "KorvaneXDK/core/GameApplication.h"
#include "os/window/MessageQueue.h"

namespace korvane::test
{
namespace
{

using os::window::GetQueuedMessageCount;
using os::window::PostMessage;
using os::window::PostQuitMessage;

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

// An application on an empty queue with the idle counter as its listener.
class GameApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetWindowMessageQueue();
        application_.SetListener(&idle_);
    }
    void TearDown() override { os::testing::ResetWindowMessageQueue(); }

    CGameApplication application_{nullptr};
    IdleCounter idle_;
};

TEST_F(GameApplicationTest, RunDispatchesPendingMessagesBeforeEachIdleCallUntilTheQuitOrWaitsForAPostWithoutListener)
{
    Ints queuedAtIdle;
    idle_.onIdle = [&](int calls) {
        queuedAtIdle.push_back(static_cast<int>(GetQueuedMessageCount()));
        if (calls == 5)
            PostQuitMessage(3);
    };
    PostMessage(nullptr, 0x0400, 1, 2);
    PostMessage(nullptr, 0x0400, 3, 4);
    EXPECT_EQ(application_.Run(), 0);
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), queuedAtIdle), std::pair(std::size_t{0}, Ints(5, 0)));
    // Without an idle listener the loop waits for a post.
    application_.SetListener(nullptr);
    std::thread poster([] {
        PostMessage(nullptr, 0x0400, 0, 0);
        PostQuitMessage(0);
    });
    EXPECT_EQ(application_.Run(), 0);
    poster.join();
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), idle_.calls), std::pair(std::size_t{0}, 5));
}

TEST_F(GameApplicationTest, ProcessMessagesDispatchesEverythingThenIdlesOnceAndLeavesTheQuitQueuedAndTheCursorCounts)
{
    application_.ProcessMessages();
    PostMessage(nullptr, 0x0400, 0, 0);
    PostMessage(nullptr, 0x0401, 0, 0);
    application_.ProcessMessages();
    EXPECT_EQ(std::pair(GetQueuedMessageCount(), idle_.calls), std::pair(std::size_t{0}, 2));
    // The pass ends at the quit without the idle call; the quit stays, so the loop ends at once.
    PostQuitMessage(0);
    PostMessage(nullptr, 0x0400, 0, 0);
    application_.ProcessMessages();
    EXPECT_EQ(application_.Run(), 0);
    application_.SetListener(nullptr);
    application_.ProcessMessages();
    EXPECT_EQ(idle_.calls, 2);
    // A nested pass, as a modal wait would run, keeps the quit for the loop.
    application_.SetListener(&idle_);
    idle_.onIdle = [&](int calls) {
        if (calls == 3) {
            PostQuitMessage(0);
            application_.ProcessMessages();
        }
    };
    EXPECT_EQ(application_.Run(), 0);
    EXPECT_EQ(idle_.calls, 3);
    // The cursor counter ends at zero or minus one.
    // Hiding twice or showing twice changes the counter only once.
    os::testing::SetCursorDisplayCount(0);
    auto show = [&](bool on) {
        application_.ShowCursor(on);
        return os::testing::GetCursorDisplayCount();
    };
    EXPECT_EQ((Ints{show(false), show(false), show(true), show(true)}), (Ints{-1, -1, 0, 0}));
    os::testing::SetCursorDisplayCount(0);
}

} // namespace
} // namespace korvane::test
