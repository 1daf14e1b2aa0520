/** @file ThreadsTest.cpp The pausable game thread's release and reports, and the console history. */
#include <gmock/gmock.h>

#include <future>

#include "KorvaneXDK/core/ExceptionReport.h"
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
}

/// Counts the test thread's sleeps and runs the hook for each instead of sleeping; other threads sleep.
class SleepHook
{
public:
    explicit SleepHook(std::function<void(int)> hook)
    {
        os::testing::SetSleepFunction([this, hook, test = std::this_thread::get_id()](std::uint32_t ms) {
            if (std::this_thread::get_id() == test)
                hook(++testThreadSleeps);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        });
    }
    ~SleepHook() { os::testing::SetSleepFunction(nullptr); }
    std::atomic<int> testThreadSleeps{0};
};

TEST(PausableThread,
     PausedThreadIsReleasedPromptlyANeverStartedOneAfterTheBoundARunningOneWaitedForAndAStandardExceptionReported)
{
    for (const bool start : {true, false}) {
        LogCapture log;
        // The never-started thread's sleeps cost nothing: it is held for the engine's whole bound.
        SleepHook sleeps([start](int) {
            if (start)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        auto thread = std::make_unique<CBodyThread>(PollingLoop);
        thread->SetPaused(true);
        if (start) {
            thread->Start();
            while (!thread->running)
                std::this_thread::yield();
        }
        thread.reset();
        if (start)
            EXPECT_LT(sleeps.testThreadSleeps.load(), 100) << "released within a few ms";
        else
            EXPECT_EQ(sleeps.testThreadSleeps.load(), korvane::CThread::kDestructorWaitCount);
        EXPECT_FALSE(LogCapture::Contains("did not stop") || LogCapture::Contains("korvane::CThread")) << start;
    }

    // The release waits on past the engine's bound: the object never dies under a running loop.
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
    });
    thread->Start();
    while (!thread->running)
        std::this_thread::yield();
    thread.reset();
    EXPECT_GE(sleeps.testThreadSleeps.load(), korvane::CThread::kDestructorWaitCount + 10);
    EXPECT_EQ(1u, LogCapture::CountContaining("did not stop within 5000 ms"));

    // A standard exception escaping the body is reported (the report's lines and box are the log's own) as the
    // engine's are (those through a real game loop in GameLoopTest) and ends the thread.
    LogCapture::Clear();
    std::string box;
    os::testing::SetMessageBoxSink([&](const std::string&, const std::string& text) { box = text; });
    {
        CBodyThread failing([](CBodyThread&) { throw std::runtime_error("standard failure"); });
        failing.Start();
        failing.WaitForExit(0, 1);
        EXPECT_FALSE(failing.IsActive());
    }
    os::testing::SetMessageBoxSink(nullptr);
    EXPECT_TRUE(LogCapture::HasLine("  Exception: class std::runtime_error\n")) << LogCapture::All();
    EXPECT_EQ(box, korvane::FormatExceptionReportText("standard failure", "class std::runtime_error", "unknown"));
}

// Log lines arrive through the logger's hook; two threads appending keep every line, each writer's in
// order; an index past the end is refused.
TEST(ConsoleHistory, ReceivesLogLinesFromTwoThreadsAndRefusesIndexPastTheEnd)
{
    auto history = CConsoleHistory::GetInstance();
    korvane::LoggerSetHook(&CConsoleHistory::LogSink);
    korvane::LogInfoF("history %d", 7);
    korvane::LoggerSetHook(nullptr);
    const std::size_t before = history->GetCount();
    EXPECT_EQ("INFO: history 7\n", history->GetLine(before - 1));
    constexpr int kLines = 5000;
    auto writer = [](char name) {
        for (int i = 0; i < kLines; ++i)
            CConsoleHistory::LogSink(std::string(1, name) + std::to_string(i));
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    ASSERT_EQ(before + 2 * kLines, history->GetCount());
    int next[2] = {0, 0};
    for (std::size_t i = before; i < history->GetCount(); ++i) {
        const std::string line = history->GetLine(i);
        EXPECT_EQ(std::to_string(next[line[0] - 'a']++), line.substr(1)) << "each writer's lines in order";
    }
    EXPECT_THAT([&] { (void)history->GetLine(history->GetCount()); },
                ::testing::ThrowsMessage<std::out_of_range>(::testing::StrEq("invalid deque<T> subscript")));
}

} // namespace
