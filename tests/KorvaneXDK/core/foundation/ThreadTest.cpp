/** @file ThreadTest.cpp Gated start, cooperative stop, bounded waits and the recursive lock. */
#include <gtest/gtest.h>

#include <thread>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/Thread.h"
#include "os/system/System.h"
#include "support/LogCapture.h"

namespace korvane
{
namespace
{

// Counts the engine's sleeps instead of sleeping.
class SleepCounter
{
public:
    SleepCounter()
    {
        os::testing::SetSleepFunction([this](std::uint32_t) { ++count; });
    }
    ~SleepCounter() { os::testing::SetSleepFunction(nullptr); }
    std::atomic<int> count{0};
};

class CountingThread : public CThread
{
public:
    ~CountingThread() override { StopAndWait(); }
    void Run() override
    {
        ran = true;
        while (!IsStopRequested())
            ++passes;
    }
    std::atomic<bool> ran{false};
    std::atomic<long> passes{0};
};

// A thread that ignores the stop request until the test lets it go.
struct Stubborn
{
    std::atomic<bool> running{false};
    std::atomic<bool> release{false};
    std::atomic<bool> done{false};
};

class StubbornThread : public CThread
{
public:
    explicit StubbornThread(std::shared_ptr<Stubborn> state) : state_(std::move(state)) {}
    void Run() override
    {
        // Only the shared state is touched: the object may be gone when this returns.
        auto state = state_;
        state->running = true;
        while (!state->release)
            std::this_thread::yield();
        state->done = true;
    }

private:
    std::shared_ptr<Stubborn> state_;
};

std::atomic<bool> gNeverStartedRan{false};

TEST(ThreadTest, RunsOnlyAfterStartStopsOnRequestWaitsInCountedStepsEndsEveryKindOfThreadAndTheLockIsRecursive)
{
    CountingThread thread;
    EXPECT_TRUE(thread.IsActive()); // held at the gate, like a suspended thread
    {
        // A step of 0 counts as 1 ms instead of spinning for ever; the elapsed count must not wrap past the timeout.
        SleepCounter sleeps;
        std::vector<int> counts;
        for (const auto& [timeout, step] :
             {std::pair(100u, 30u), std::pair(100u, 0u), std::pair(UINT32_MAX, 0x80000000u)}) {
            sleeps.count = 0;
            thread.WaitForExit(timeout, step);
            counts.push_back(sleeps.count);
        }
        EXPECT_EQ(counts, (std::vector<int>{4, 100, 2}));
    }
    EXPECT_FALSE(thread.ran);
    thread.Start();
    while (thread.passes == 0)
        std::this_thread::yield();
    EXPECT_TRUE(thread.IsActive());
    thread.RequestStop();
    thread.WaitForExit(0, 1); // a timeout of 0 waits for as long as it takes
    EXPECT_FALSE(thread.IsActive());
    {
        // Waiting for a finished thread does not sleep at all.
        SleepCounter sleeps;
        thread.WaitForExit(1000, 10);
        EXPECT_EQ(sleeps.count, 0);
    }
    // A never-started thread is released at once, a stubborn one after the bound; a throwing one logs it.
    struct NeverStarted : CThread
    {
        ~NeverStarted() override { StopAndWait(); }
        void Run() override { gNeverStartedRan = true; }
    };
    // How promptly it goes: PausableThread.PausedOrNeverStartedThreadIsReleasedPromptlyAndARunningOneWaitedFor.
    std::make_unique<NeverStarted>().reset();
    EXPECT_FALSE(gNeverStartedRan);
    struct Throwing : CThread
    {
        ~Throwing() override { StopAndWait(); }
        void Run() override { throw EReadError(this, "boom"); }
    } throwing;
    test::LogCapture log;
    throwing.Start();
    throwing.WaitForExit(0, 1);
    ASSERT_EQ(log.Lines().size(), 4u);
    EXPECT_EQ(log.Lines()[1], "  Detail: boom\n");
    // The destructor gives up on a thread deaf to the stop request after its bound, and says so.
    auto state = std::make_shared<Stubborn>();
    log.Clear();
    {
        SleepCounter sleeps;
        auto stubborn = std::make_unique<StubbornThread>(state);
        stubborn->Start();
        while (!state->running)
            std::this_thread::yield();
        stubborn.reset();
        EXPECT_EQ(sleeps.count, CThread::kDestructorWaitCount);
    }
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"ERROR: korvane::CThread: thread did not stop within the wait bound\n"});
    state->release = true;
    while (!state->done)
        std::this_thread::yield();
    // The lock is recursive and freed after as many unlocks.
    CCriticalSection lock;
    lock.Lock();
    CScopedLock{lock};
    lock.Unlock();
    // Another thread can take it now; were it still held, this would never return.
    std::thread([&] { CScopedLock scoped(lock); }).join();
}

} // namespace
} // namespace korvane
