/** @file LogTest.cpp The log file's line formats, the hook, the exception reports, and the threads and lock. */
#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <regex>
#include <thread>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/core/Thread.h"
#include "KorvaneXDK/core/TypeName.h"
#include "os/system/System.h"
#include "support/LogCapture.h"
#include "support/NamedPipe.h"
#include "support/TempDir.h"

namespace korvane
{

// A sender type whose name shows in reports.
class CReportingObject : public virtual CNonCopyable
{
public:
    void Fail() const { throw EFileOpenError(this, "Cannot open file: \"x.dat\""); }
};

namespace
{

// The four lines every exception report writes to the log.
std::string Report(const std::string& detail, const std::string& exception, const std::string& where)
{
    return "ERROR: Exception occurred.\n  Detail: " + detail + "\n  Exception: " + exception + "\n  Where: " + where +
           "\n";
}

// The same report as its error box shows it.
std::string BoxText(const std::string& detail, const std::string& exception, const std::string& where)
{
    return "Exception occurred.\n\n[Detail] " + detail + "\n\n[Exception] " + exception + "\n[Where] " + where;
}

class LogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::SetMessageBoxSink(
            [this](const std::string& caption, const std::string& text) { boxes.emplace_back(caption, text); });
    }
    void TearDown() override
    {
        LoggerFinalize();
        os::testing::SetMessageBoxSink(nullptr);
    }
    void OpenLog() { LoggerInitialize(dir.File("game.log")); }
    std::string CloseAndRead()
    {
        LoggerFinalize();
        return test::TempDir::Read(dir.File("game.log"));
    }

    /// Logs formatted, raw, ready and located lines and a long text both ways; returns what the hook should see.
    static std::vector<std::string> LogEveryKindOfLine()
    {
        const std::string longText(600, 'x');
        LogInfoF("value %d", 7);
        LogErrorF("bad %s", "thing");
        LogRawF("raw %x", 255u);
        LogInfo("ready 100% text");
        LogErrorAt("it broke", "Source.cpp", 42);
        LogInfoF("%s", longText.c_str());
        LogInfo(longText);
        // A ready text reaches the hook without its line break and uncut; a formatted one is
        // cut to 510 characters there while the file has it whole.
        return {"INFO: value 7\n",
                "ERROR: bad thing\n",
                "raw ff\n",
                "INFO: ready 100% text",
                "ERROR: \n\tit broke\n\tSource.cpp(42)\n",
                ("INFO: " + longText).substr(0, 510),
                "INFO: " + longText};
    }

    test::TempDir dir;
    test::LogCapture hook;
    std::vector<std::pair<std::string, std::string>> boxes; ///< caption and text of each box shown
};

// A careless standard exception whose what() is null.
struct NullWhat : std::exception
{
    const char* what() const noexcept override { return nullptr; }
};

TEST_F(LogTest, OnlyTheFirstStartOpensAFileWhichStartsEmptyWhileTheHookSeesEveryLine)
{
    const std::string path = dir.Write("game.log", "old contents\n");
    LogInfoF("before");
    LoggerInitialize(path); // recreated on every start
    LoggerInitialize(dir.File("other.log"));
    LogInfoF("during");
    LoggerFinalize();
    LogInfoF("after");
    EXPECT_EQ(test::TempDir::Read(path), "INFO: during\n");
    EXPECT_FALSE(FileExists(dir.File("other.log")));
    EXPECT_EQ(hook.Lines(), (std::vector<std::string>{"INFO: before\n", "INFO: during\n", "INFO: after\n"}));
}

TEST_F(LogTest, AFolderOrANamedPipeInPlaceOfTheLogIsNeverOpenedNorWaitedOn)
{
    for (const char* kind : {"folder", "pipe"}) {
        SCOPED_TRACE(kind);
        const std::string path = dir.File(std::string(kind) + ".log");
        if (kind == std::string("folder"))
            std::filesystem::create_directory(path);
        else
            test::MakeNamedPipe(path);
        test::EndsWithoutWaiting(
            [&] {
                LoggerInitialize(path);
                LogInfoF("lost");
            },
            path, "the log's start");
        // The logger holds no file: the next start opens one.
        OpenLog();
        LogInfoF("kept");
        EXPECT_EQ(CloseAndRead(), "INFO: kept\n");
    }
}

TEST_F(LogTest, AnEmptyNamePutsTheLogBesideTheProgram)
{
    LoggerInitialize("");
    LogInfoF("beside");
    LoggerFinalize();
    const std::string beside = ReplaceExtension(GetModuleFilePath(), ".log");
    EXPECT_EQ(test::TempDir::Read(beside), "INFO: beside\n");
    std::remove(beside.c_str());
}

TEST_F(LogTest, TheHookGetsReadyTextsUncutAndFormattedOnesCutTo510Characters)
{
    OpenLog();
    const std::vector<std::string> lines = LogEveryKindOfLine();
    EXPECT_EQ(hook.Lines(), lines);
}

TEST_F(LogTest, TheFileHasEveryLineWholeWithItsPrefixAndErrorsWithTheirCodeMessageAndPlace)
{
    OpenLog();
    std::vector<std::string> lines = LogEveryKindOfLine();
    os::system::SetLastError(0);
    LogWin32Error("A.cpp", 1);
    os::system::SetLastErrorFromErrno(ENOENT);
    LogWin32Error("B.cpp", 2);
    os::system::SetLastError(0x1234, "");
    LogWin32Error("C.cpp", 3);
    const std::string text = CloseAndRead();
    lines[3] += "\n";
    lines[6] += "\n";
    lines[5] = lines[6];
    EXPECT_EQ(text.substr(0, text.find("INFO: Current")),
              std::accumulate(lines.begin(), lines.end(), std::string()) +
                  "ERROR: \n\tWin32Error(0x0): The operation completed successfully.\n\n\tA.cpp(1)\n"
                  "ERROR: \n\tWin32Error(0x2): No such file or directory\n\n\tB.cpp(2)\n"
                  "ERROR: \n\tWin32Error(0x1234): (no message)\n\tC.cpp(3)\n");
}

TEST_F(LogTest, TheDateAndTimeAndTheLibraryVersionHaveTheirFormats)
{
    OpenLog();
    LogCurrentDateTime();
    LogInfoF("Korvane Core library ver.%s", GetCoreVersionString().c_str());
    const std::string text = CloseAndRead();
    const std::regex tail(R"(INFO: Current date and time: \w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4}\([^)]*\)\n)"
                          R"(INFO: Korvane Core library ver\.1\.10\(0031\) Win32 DBCS Release )"
                          R"(\(\w{3} [ \d]\d \d{4} \d\d:\d\d:\d\d\) \n)");
    EXPECT_TRUE(std::regex_match(text.substr(text.find("INFO: Current")), tail)) << text;
}

TEST_F(LogTest, LinesFromManyThreadsNeverInterleave)
{
    OpenLog();
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t] {
            const std::string tail(100, static_cast<char>('a' + t));
            for (int i = 0; i < 200; ++i) {
                if (i % 2)
                    LogRawF("thread %d line %d %s", t, i, tail.c_str());
                else
                    LogInfoF("thread %d line %d %s", t, i, tail.c_str());
            }
        });
    for (auto& thread : threads)
        thread.join();
    const std::string threaded = CloseAndRead();
    EXPECT_TRUE(threaded.ends_with('\n'));
    const std::regex line(R"((INFO: )?thread (\d) line \d+ ([a-d])\3{99})");
    std::istringstream threadedLines(threaded);
    int count = 0;
    for (std::string one; std::getline(threadedLines, one); ++count) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(one, match, line)) << one;
        EXPECT_EQ(match[3].str()[0] - 'a', std::stoi(match[2].str()));
    }
    EXPECT_EQ(count, 800);
    EXPECT_EQ(hook.Lines().size(), 800u);
}

// Reports an engine exception thrown by a named sender to the log and in a box, then shows one of each kind with
// parts missing.
void ReportOneOfEachKind()
{
    CReportingObject sender;
    try {
        sender.Fail();
    } catch (const EException& e) {
        LogEngineException(e);
        ShowEngineException(e, nullptr);
    }
    ShowEngineException(EInvalidParameter(nullptr, ""), nullptr);
    ShowStdException(std::length_error("vector too long"), nullptr);
    ShowUnknownException("Unknown Exception", "", "", nullptr);
    ShowStdException(NullWhat(), nullptr);
}

TEST_F(LogTest, ExceptionReportsNameSenderAndMessageMissingPartsReadUnknownAndAThrowingHookNeverEscapes)
{
    OpenLog();
    ReportOneOfEachKind();
    LoggerSetHook([](const std::string&) { throw std::bad_alloc(); });
    EXPECT_NO_THROW(LogInfoF("formatted"));
    EXPECT_NO_THROW(LogInfo("ready"));
    EXPECT_NO_THROW(LogEngineException(EReadError(nullptr, "report")));
    const std::string report =
        Report("Cannot open file: \"x.dat\"", "class korvane::EFileOpenError", "class korvane::CReportingObject");
    EXPECT_EQ(CloseAndRead(), report + report + Report("unknown", "class korvane::EInvalidParameter", "unknown") +
                                  Report("vector too long", "class std::length_error", "unknown") +
                                  Report("Unknown Exception", "unknown", "unknown") +
                                  Report("unknown", "class korvane::(anonymous namespace)::NullWhat", "unknown") +
                                  "INFO: formatted\nINFO: ready\n" +
                                  Report("report", "class korvane::EReadError", "unknown"));
}

TEST_F(LogTest, ErrorBoxesShowTheReportUnderTheProgramsName)
{
    OpenLog();
    ReportOneOfEachKind();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0], std::pair(ReplaceExtension(GetFileName(GetModuleFilePath()), ""),
                                  BoxText("Cannot open file: \"x.dat\"", "class korvane::EFileOpenError",
                                          "class korvane::CReportingObject")));
    EXPECT_EQ(std::pair(boxes[1].second, boxes[3].second),
              std::pair(BoxText("unknown", "class korvane::EInvalidParameter", "unknown"),
                        BoxText("Unknown Exception", "unknown", "unknown")));
}

TEST(TypeNameTest, TheStandardLibrarysAbiMarkersStayOutOfTheNames)
{
    EXPECT_EQ(GetRuntimeClassName(std::ios_base::failure("x")), "class std::ios_base::failure");
}

// Counts the engine's sleeps instead of sleeping.
class SleepCounter
{
public:
    SleepCounter()
    {
        os::testing::SetSleepFunction([this](std::uint32_t ms) {
            ++count;
            milliseconds += ms;
        });
    }
    ~SleepCounter() { os::testing::SetSleepFunction(nullptr); }
    std::atomic<int> count{0};
    std::atomic<std::uint64_t> milliseconds{0};
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
    // A never-started thread counts as active for the whole bound, then ends without running; a stubborn
    // one is given up after the bound; a throwing one logs it.
    struct NeverStarted : CThread
    {
        ~NeverStarted() override { StopAndWait(); }
        void Run() override { gNeverStartedRan = true; }
    };
    test::LogCapture log;
    {
        // Given up on, it would say so: it ends instead.
        SleepCounter sleeps;
        std::make_unique<NeverStarted>().reset();
        EXPECT_EQ((std::tuple{sleeps.count.load(), sleeps.milliseconds.load(), gNeverStartedRan.load(), log.Lines()}),
                  (std::tuple{CThread::kDestructorWaitCount, std::uint64_t{CThread::kDestructorWaitCount}, false,
                              std::vector<std::string>{}}));
    }
    struct Throwing : CThread
    {
        ~Throwing() override { StopAndWait(); }
        void Run() override { throw EReadError(this, "boom"); }
    } throwing;
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
