/** @file GamesTest.cpp The two games' minimal loops on a simulated clock. */
#include <gtest/gtest.h>

#include <numeric>
#include <span>

#include "games/qvr2/MainLoop.h"
#include "games/qvr2/QVR2Thread.h"
#include "games/tessaril/MainLoop.h"
#include "games/tessaril/TessarilThread.h"
#include "host/ConsoleFrameComposer.h"
#include "host/ConsoleServices.h"
#include "host/HostTestSupport.h"
#include "os/system/System.h"
#include "support/LogCapture.h"

namespace
{

/// One tick in milliseconds.
constexpr double kTick = 13.333333333333334;

/// The games' console on simulated time: a sleep on any thread but the test's own advances the engine
/// clock by its length and returns at once (the test thread's sleeps are real). Records every hand-over's
/// tick, and can stop the game from inside its 150th hand-over.
class CSimulatedConsole : public CConsoleFrameComposer
{
public:
    explicit CSimulatedConsole(double startMilliseconds) : milliseconds_(startMilliseconds)
    {
        MakeBuffers(2048);
        korvane::SetEngineClockSource([this] {
            std::lock_guard<std::mutex> lock(mutex_);
            return milliseconds_;
        });
        os::testing::SetSleepFunction([this, test = std::this_thread::get_id()](std::uint32_t ms) {
            if (std::this_thread::get_id() == test)
                return std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            std::lock_guard<std::mutex> lock(mutex_);
            milliseconds_ += ms;
            ++sleeps_;
            changed_.notify_all();
        });
    }
    ~CSimulatedConsole() override
    {
        os::testing::SetSleepFunction(nullptr);
        korvane::SetEngineClockSource({});
    }

    void PresentConsoleFrame() override
    {
        CConsoleFrameComposer::PresentConsoleFrame();
        const std::uint32_t tick = TicksGet();
        std::lock_guard<std::mutex> lock(mutex_);
        ticks_.push_back(tick);
        if (ticks_.size() == 1)
            blockZeroAtFirstFrame = std::all_of(block.begin(), block.end(), [](unsigned char b) { return b == 0; });
        if (stopThread != nullptr && ticks_.size() == 150) {
            stopThread->RequestStop();
            sleepsAtStop = sleeps_;
        }
        changed_.notify_all();
    }
    /// The hand-overs' ticks and the game threads' sleeps so far.
    std::pair<std::vector<std::uint32_t>, int> Recorded()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return {ticks_, sleeps_};
    }
    /// Blocks until the game threads have slept `sleeps` more times and handed over `handOvers` frames in all.
    void WaitFor(int sleeps, std::size_t handOvers = 0)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const int target = sleeps_ + sleeps;
        changed_.wait(lock, [&] { return sleeps_ >= target && ticks_.size() >= handOvers; });
    }

    std::span<const unsigned char> block; ///< the game's variables
    bool blockZeroAtFirstFrame = false;
    korvane::CThread* stopThread = nullptr;
    int sleepsAtStop = -1;

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    double milliseconds_;
    int sleeps_ = 0;
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

/// A device whose poll fails, as a broken input layer would.
class CFailingController : public host_test::CHeldKeysController
{
public:
    void Update() override { throw korvane::EIOError(nullptr, "input device gone"); }
};

TYPED_TEST(GameLoopTest, OneHandOverPerTickAcrossTheWrapPromptStopNoHandOverWhilePausedAndAnEscapingException)
{
    // Start 70 ticks before the count wraps at 2^32.
    CSimulatedConsole composer(kTick * (4294967296.0 - 70.0));
    std::memset(TypeParam::kBlock, 0xAA, TypeParam::kBlockSize);
    typename TypeParam::Thread thread;
    composer.block = {TypeParam::kBlock, TypeParam::kBlockSize};
    composer.stopThread = &thread;
    thread.Start();
    thread.WaitForExit(0, 1);

    EXPECT_TRUE(composer.blockZeroAtFirstFrame);
    std::vector<std::uint32_t> expected(150);
    std::iota(expected.begin(), expected.end(), 0u - 70u); // wrapping past 0
    EXPECT_EQ(std::pair(expected, composer.sleepsAtStop), composer.Recorded()) << "no sleep after the stop request";
    // The loop shows only the backdrop: palette 0 entry 0 after the reset, opaque black.
    const auto frame = composer.GetNewestFrame();
    for (int y = 0; y < 512; y += 37)
        EXPECT_EQ(0xFF000000u, frame->GetRow(y)[y]);

    // A game started paused hands nothing over until it runs, and nothing once paused again.
    auto game = std::make_unique<typename TypeParam::Thread>();
    game->SetPaused(true);
    game->Start();
    composer.WaitFor(300); // about 22 ticks
    EXPECT_EQ(150u, composer.Recorded().first.size());

    game->SetPaused(false);
    composer.WaitFor(0, 155);
    game->SetPaused(true);
    composer.WaitFor(30); // any hand-over in flight has finished
    const std::size_t atPause = composer.Recorded().first.size();
    composer.WaitFor(300);
    EXPECT_EQ(atPause, composer.Recorded().first.size());

    korvane::test::LogCapture log;
    game.reset();
    EXPECT_FALSE(korvane::test::LogCapture::Contains("did not stop"));

    // An exception escaping the loop (a poll failing, as a broken input layer would) is reported and
    // ends the game.
    std::string box;
    os::testing::SetMessageBoxSink([&](const std::string&, const std::string& text) { box = text; });
    CFailingController device;
    CResourceScene::GetInstance()->GetMergedController().AddController(&device);
    game = std::make_unique<typename TypeParam::Thread>();
    game->Start();
    game->WaitForExit(0, 1);
    EXPECT_FALSE(game->IsActive());
    game.reset();
    delete CResourceScene::GetInstance(); // the merged controller cannot let go of the device
    os::testing::SetMessageBoxSink(nullptr);
    EXPECT_EQ(std::tuple(true, true, true),
              std::tuple(korvane::test::LogCapture::HasLine("  Detail: input device gone\n"),
                         korvane::test::LogCapture::HasLine("  Exception: class korvane::EIOError\n"),
                         box.find("input device gone") != std::string::npos))
        << korvane::test::LogCapture::All() << box;
}

} // namespace
