/** @file GamesTest.cpp The two games' minimal loops on a simulated clock. */
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/platform/input/StandardController.h"
#include "ScriptedGame.h"
#include "games/qvr2/MainLoop.h"
#include "games/qvr2/QVR2Thread.h"
#include "games/tessaril/MainLoop.h"
#include "games/tessaril/TessarilThread.h"
#include "host/ConsoleServices.h"
#include "host/ResourceScene.h"
#include "support/LogCapture.h"

namespace
{

/// One tick in milliseconds.
constexpr double kTick = 13.333333333333334;

/// Simulated time: a sleep on any thread but the test's own advances the engine clock by its
/// length and returns at once; the test thread's sleeps are real. Lets the test wait for a
/// number of game sleeps.
class SimulatedTime
{
public:
    explicit SimulatedTime(double startMilliseconds) : testThread_(std::this_thread::get_id())
    {
        milliseconds_ = startMilliseconds;
        korvane::SetEngineClockSource([this] {
            std::lock_guard<std::mutex> lock(mutex_);
            return milliseconds_;
        });
        os::testing::SetSleepFunction([this](std::uint32_t ms) {
            if (std::this_thread::get_id() == testThread_) {
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                return;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            milliseconds_ += ms;
            ++gameSleeps_;
            changed_.notify_all();
        });
    }
    ~SimulatedTime()
    {
        os::testing::SetSleepFunction(nullptr);
        korvane::SetEngineClockSource({});
    }
    int GameSleeps()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return gameSleeps_;
    }
    /// Blocks until the game threads have slept `count` more times.
    void WaitForGameSleeps(int count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const int target = gameSleeps_ + count;
        changed_.wait(lock, [&] { return gameSleeps_ >= target; });
    }

private:
    std::thread::id testThread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    double milliseconds_ = 0.0;
    int gameSleeps_ = 0;
};

/// Records every hand-over's tick; can stop the game from inside its own hand-over.
class CRecordingComposer : public CConsoleFrameComposer
{
public:
    explicit CRecordingComposer(SimulatedTime& time) : time_(time) { MakeBuffers(2048); }

    void PresentConsoleFrame() override
    {
        CConsoleFrameComposer::PresentConsoleFrame();
        std::lock_guard<std::mutex> lock(mutex_);
        ticks_.push_back(TicksGet());
        if (ticks_.size() == 1 && block != nullptr)
            blockZeroAtFirstFrame = std::all_of(block, block + blockSize, [](unsigned char b) { return b == 0; });
        if (stopThread != nullptr && ticks_.size() == 150) {
            stopThread->RequestStop();
            sleepsAtStop = time_.GameSleeps();
        }
        changed_.notify_all();
    }
    std::vector<std::uint32_t> Ticks()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return ticks_;
    }
    void WaitForHandOvers(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] { return ticks_.size() >= count; });
    }

    const unsigned char* block = nullptr;
    std::size_t blockSize = 0;
    bool blockZeroAtFirstFrame = false;
    korvane::CThread* stopThread = nullptr; ///< stopped at the 150th hand-over
    int sleepsAtStop = -1;

private:
    SimulatedTime& time_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint32_t> ticks_;
};

template <typename ThreadType, unsigned char* Block, std::size_t Size>
struct Game
{
    using Thread = ThreadType;
    static constexpr unsigned char* kBlock = Block;
    static constexpr std::size_t kBlockSize = Size;
};
using QVR2 = Game<CQVR2Thread, qvr2::GameVariables, qvr2::kGameVariablesSize>;
using Tessaril = Game<CTessarilThread, tessaril::GameVariables, tessaril::kGameVariablesSize>;

template <typename G>
class GameLoopTest : public ::testing::Test
{};
using Games = ::testing::Types<QVR2, Tessaril>;
TYPED_TEST_SUITE(GameLoopTest, Games);

TYPED_TEST(GameLoopTest, OneHandOverPerTickAcrossTheWrapAndPromptStop)
{
    // Start 70 ticks before the count wraps at 2^32.
    SimulatedTime time(kTick * (4294967296.0 - 70.0));
    CRecordingComposer composer(time);
    std::memset(TypeParam::kBlock, 0xAA, TypeParam::kBlockSize);
    typename TypeParam::Thread thread;
    composer.block = TypeParam::kBlock;
    composer.blockSize = TypeParam::kBlockSize;
    composer.stopThread = &thread;
    thread.Start();
    thread.WaitForExit(0, 1);

    EXPECT_TRUE(composer.blockZeroAtFirstFrame);
    std::vector<std::uint32_t> expected(150);
    std::iota(expected.begin(), expected.end(), 0u - 70u); // wrapping past 0
    EXPECT_EQ(expected, composer.Ticks());
    EXPECT_EQ(composer.sleepsAtStop, time.GameSleeps()) << "no sleep after the stop request";
    // The loop shows only the backdrop: palette 0 entry 0 after the reset, opaque black.
    const auto frame = composer.GetNewestFrame();
    for (int y = 0; y < 512; y += 37)
        EXPECT_EQ(0xFF000000u, frame->GetRow(y)[y]);
}

TYPED_TEST(GameLoopTest, NoHandOverWhilePausedAndReleaseWhilePaused)
{
    SimulatedTime time(0.0);
    CRecordingComposer composer(time);
    auto thread = std::make_unique<typename TypeParam::Thread>();
    thread->SetPaused(true);
    thread->Start();
    time.WaitForGameSleeps(300); // about 22 ticks
    EXPECT_TRUE(composer.Ticks().empty());

    thread->SetPaused(false);
    composer.WaitForHandOvers(5);
    thread->SetPaused(true);
    time.WaitForGameSleeps(30); // any hand-over in flight has finished
    const std::size_t atPause = composer.Ticks().size();
    time.WaitForGameSleeps(300);
    EXPECT_EQ(atPause, composer.Ticks().size());

    korvane::test::LogCapture log;
    thread.reset();
    EXPECT_FALSE(korvane::test::LogCapture::Contains("did not stop"));
}

/// A device whose poll fails, as a broken input layer would.
class CFailingController : public korvane::CStandardController
{
public:
    int GetDeviceType() override { return korvane::kControllerKeyboard; }
    void Update() override { throw korvane::EIOError(nullptr, "input device gone"); }
    bool GetActiveInput(const std::string&, int) override { return false; }
    std::string GetInputName(const std::string&, int) override { return ""; }
};

TYPED_TEST(GameLoopTest, EscapingExceptionIsReportedAndEndsTheGame)
{
    SimulatedTime time(0.0);
    korvane::test::LogCapture log;
    std::string box;
    os::testing::SetMessageBoxSink([&](const std::string&, const std::string& text) { box = text; });
    CFailingController device;
    CResourceScene::GetInstance()->GetMergedController().AddController(&device);
    {
        typename TypeParam::Thread thread;
        thread.Start();
        thread.WaitForExit(0, 1);
        EXPECT_FALSE(thread.IsActive());
    }
    delete CResourceScene::GetInstance(); // the merged controller cannot let go of the device
    os::testing::SetMessageBoxSink(nullptr);
    EXPECT_TRUE(korvane::test::LogCapture::HasLine("  Detail: input device gone\n"));
    EXPECT_TRUE(korvane::test::LogCapture::HasLine("  Exception: class korvane::EIOError\n"));
    EXPECT_NE(std::string::npos, box.find("input device gone"));
}

} // namespace
