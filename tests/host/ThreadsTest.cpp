/** @file ThreadsTest.cpp The pausable game thread's release and reports, and the console history. */
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/Log.h"
#include "host/ConsoleHistory.h"
#include "host/PausableThread.h"
#include "os/system/System.h"
#include "support/LogCapture.h"

namespace
{

using korvane::test::LogCapture;

/// Runs the body through the game threads' report, like the two game threads do.
class CBodyThread : public CPausableThread
{
public:
    explicit CBodyThread(std::function<void(CBodyThread&)> body) : body_(std::move(body)) {}
    ~CBodyThread() override { StopAndJoin(); }
    void Run() override
    {
        RunReported([this] { body_(*this); });
    }
    std::atomic<bool> running{false};
    std::atomic<bool> returned{false};

private:
    std::function<void(CBodyThread&)> body_;
};

/// The games' polling shape: while paused only sleep, return when a stop is requested.
void PollingLoop(CBodyThread& self)
{
    self.running = true;
    while (!self.IsStopRequested())
        if (self.IsPaused())
            os::system::Sleep(1);
    self.returned = true;
}

/// Counts sleeps; on the counting thread it also runs a hook instead of sleeping.
class SleepHook
{
public:
    explicit SleepHook(std::function<void(int)> onTestThreadSleep)
        : testThread_(std::this_thread::get_id()), onTestThreadSleep_(std::move(onTestThreadSleep))
    {
        os::testing::SetSleepFunction([this](std::uint32_t ms) {
            if (std::this_thread::get_id() == testThread_)
                onTestThreadSleep_(++testThreadSleeps);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        });
    }
    ~SleepHook() { os::testing::SetSleepFunction(nullptr); }
    std::atomic<int> testThreadSleeps{0};

private:
    std::thread::id testThread_;
    std::function<void(int)> onTestThreadSleep_;
};

TEST(PausableThread, PausedThreadStopsPromptlyOnRelease)
{
    LogCapture log;
    SleepHook sleeps([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    auto thread = std::make_unique<CBodyThread>(PollingLoop);
    thread->SetPaused(true);
    EXPECT_TRUE(thread->IsPaused());
    thread->Start();
    while (!thread->running)
        std::this_thread::yield();
    thread.reset();
    EXPECT_LT(sleeps.testThreadSleeps.load(), 100) << "released within a few ms";
    EXPECT_FALSE(LogCapture::Contains("did not stop"));
}

TEST(PausableThread, PausingAnEndedLoopDoesNothing)
{
    CBodyThread thread([](CBodyThread& self) { self.returned = true; });
    thread.Start();
    thread.WaitForExit(0, 1);
    EXPECT_FALSE(thread.IsActive());
    thread.SetPaused(true);
    EXPECT_TRUE(thread.IsPaused());
    EXPECT_FALSE(thread.IsActive());
    EXPECT_TRUE(thread.returned);
}

TEST(PausableThread, NeverStartedThreadIsReleasedAtOnce)
{
    LogCapture log;
    SleepHook sleeps([](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); });
    {
        CBodyThread thread(PollingLoop);
    }
    EXPECT_LT(sleeps.testThreadSleeps.load(), 100);
    EXPECT_FALSE(LogCapture::Contains("korvane::CThread"));
}

// The release waits on past the engine's bound: the object never dies under a running loop.
TEST(PausableThread, ReleaseWaitsUntilTheThreadHasEnded)
{
    LogCapture log;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    // The test thread's sleeps cost nothing; after the bound and a little more, let the body go.
    SleepHook sleeps([&](int count) {
        if (count == korvane::CThread::kDestructorWaitCount + 10)
            release.set_value();
    });
    auto thread = std::make_unique<CBodyThread>([released](CBodyThread& self) {
        self.running = true;
        released.wait(); // deaf to the stop request, as a loop blocked elsewhere would be
        self.returned = true;
    });
    thread->Start();
    while (!thread->running)
        std::this_thread::yield();
    thread.reset();
    EXPECT_GE(sleeps.testThreadSleeps.load(), korvane::CThread::kDestructorWaitCount + 10);
    EXPECT_EQ(1u, LogCapture::CountContaining("did not stop within 5000 ms"));
}

struct ReportCase
{
    std::function<void()> thrower;
    const char* detail;
    const char* exception;
    const char* where;
};

TEST(PausableThread, EscapingExceptionIsReportedAndEndsTheThread)
{
    const ReportCase cases[] = {
        {[] { throw korvane::EInvalidOperation(nullptr, "the game failed"); }, "the game failed",
         "class korvane::EInvalidOperation", "unknown"},
        {[] { throw std::runtime_error("standard failure"); }, "standard failure", "class std::runtime_error",
         "unknown"},
    };
    for (const ReportCase& c : cases) {
        LogCapture log;
        std::vector<std::string> boxes;
        std::mutex boxMutex;
        os::testing::SetMessageBoxSink([&](const std::string&, const std::string& text) {
            std::lock_guard<std::mutex> lock(boxMutex);
            boxes.push_back(text);
        });
        {
            CBodyThread thread([&c](CBodyThread&) { c.thrower(); });
            thread.Start();
            thread.WaitForExit(0, 1);
            EXPECT_FALSE(thread.IsActive());
        }
        os::testing::SetMessageBoxSink(nullptr);
        const std::vector<std::string> expected = {
            "ERROR: Exception occurred.\n",
            std::string("  Detail: ") + c.detail + "\n",
            std::string("  Exception: ") + c.exception + "\n",
            std::string("  Where: ") + c.where + "\n",
        };
        EXPECT_EQ(expected, LogCapture::Lines());
        ASSERT_EQ(1u, boxes.size());
        EXPECT_NE(std::string::npos, boxes[0].find(std::string("[Detail] ") + c.detail));
    }
}

TEST(ConsoleHistory, TwoThreadsAppendingKeepEveryLine)
{
    auto history = CConsoleHistory::GetInstance();
    EXPECT_EQ(history, CConsoleHistory::GetInstance());
    const std::size_t before = history->GetCount();
    constexpr int kLines = 5000;
    auto writer = [](char name) {
        for (int i = 0; i < kLines; ++i)
            CConsoleHistory::LogSink(std::string(1, name) + std::to_string(i));
    };
    std::thread a(writer, 'a');
    std::thread b(writer, 'b');
    a.join();
    b.join();
    ASSERT_EQ(before + 2 * kLines, history->GetCount());
    int nextA = 0;
    int nextB = 0;
    for (std::size_t i = before; i < history->GetCount(); ++i) {
        const std::string line = history->GetLine(i);
        int& next = line[0] == 'a' ? nextA : nextB;
        EXPECT_EQ(std::to_string(next), line.substr(1)) << "each writer's lines in order";
        ++next;
    }
    EXPECT_EQ(kLines, nextA);
    EXPECT_EQ(kLines, nextB);
}

TEST(ConsoleHistory, ReceivesLogLinesAndRefusesIndexPastTheEnd)
{
    auto history = CConsoleHistory::GetInstance();
    korvane::LoggerSetHook(&CConsoleHistory::LogSink);
    korvane::LogInfoF("history %d", 7);
    korvane::LoggerSetHook(nullptr);
    const std::size_t count = history->GetCount();
    ASSERT_GE(count, 1u);
    EXPECT_EQ("INFO: history 7\n", history->GetLine(count - 1));
    try {
        (void)history->GetLine(count);
        FAIL() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ("invalid deque<T> subscript", e.what());
    }
}

} // namespace
