/** @file FrameRateKeeperTest.cpp Pacing, frame counts, the cap, pausing and the rate measurement. */
#include "AppTestSupport.h"

namespace korvane::test
{
namespace
{

constexpr std::int64_t kInterval75 = 13333333; // ticks (ns) per frame at 75 frames a second
// The clock at creation: 2 days 03:04:05 of uptime and a few ticks.
constexpr std::uint64_t kStart = (2ull * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000000000ull + 123;

struct FrameRecorder : IFrameTimerListener
{
    Ints frames;
    std::vector<std::int64_t> intervals;
    void OnFrame(CFrameRateKeeper* keeper, int count) override
    {
        frames.push_back(count);
        intervals.push_back(keeper->frameInterval);
    }
};

// A keeper paced at 75 frames a second on the fake clock, reporting to a recorder; its creation is logged.
class FrameRateKeeperTest : public ::testing::Test
{
protected:
    FrameRateKeeperTest()
    {
        keeper_.frameListener = &recorder_;
        keeper_.SetFrameRate(75);
    }
    // Runs idle passes until one produces a frame (or gives up).
    void RunUntilFrame(CFrameRateKeeper& keeper)
    {
        const std::size_t before = recorder_.frames.size();
        for (int i = 0; i < 100000 && recorder_.frames.size() == before; ++i)
            keeper.OnIdle();
    }
    // Takes the frame due now, then returns the sleeps made waiting for the next one.
    std::vector<std::uint32_t> SleepsBeforeTheSecondFrame()
    {
        keeper_.OnIdle();
        clock_.Sleeps().clear();
        RunUntilFrame(keeper_);
        EXPECT_EQ(recorder_.frames, (Ints{1, 1}));
        return clock_.Sleeps();
    }
    void IdleAt(std::uint64_t ns)
    {
        clock_.Set(ns);
        keeper_.OnIdle();
    }

    FakeClock clock_{kStart};
    LogCapture log_;
    CFrameRateKeeper keeper_;
    FrameRecorder recorder_;
};

TEST_F(FrameRateKeeperTest, LogsTheClockAndUptimeIntervalIsTheRoundedTicksPerFrameAndUnpacedPassesAreOneFrameEach)
{
    EXPECT_EQ(log_.Lines(), (Calls{"INFO: Performance counter enabled: resolution = 1000000000Hz (1.000000nsec)\n",
                                   "INFO: System uptime: 2day(s) 03:04:05\n"}));
    // 3: 333333333.33 rounds down; 7: 142857142.857 rounds up; below 1: no pacing.
    for (const auto& [rate, interval] : std::vector<std::pair<int, std::int64_t>>{
             {75, kInterval75}, {3, 333333333}, {7, 142857143}, {-5, 0}, {0, 0}}) {
        keeper_.SetFrameRate(rate);
        EXPECT_EQ(keeper_.GetInterval(), interval) << rate;
    }
    // The frame interval is the time since the previous pass; elapsed time counts from creation.
    EXPECT_DOUBLE_EQ(keeper_.GetElapsedMilliseconds(), 0.0);
    keeper_.OnIdle();
    IdleAt(clock_.Now() + 7000000);
    EXPECT_EQ(recorder_.intervals, (std::vector<std::int64_t>{kStart, 7000000})); // from clock 0
    clock_.Advance(1500000);
    EXPECT_DOUBLE_EQ(keeper_.GetElapsedMilliseconds(), 8.5);
    keeper_.maxFrames = 2;
    for (int i = 0; i < 5; ++i)
        IdleAt(clock_.Now() + 50000000); // far more than any interval
    EXPECT_EQ(std::tuple(recorder_.frames, clock_.Sleeps().size(), keeper_.GetTotalPasses()),
              std::tuple(Ints(7, 1), 0u, 7));
}

TEST_F(FrameRateKeeperTest, WaitsInMillisecondSleepsThenYieldsForTheLastThird)
{
    const std::uint64_t start = clock_.Now();
    const std::vector<std::uint32_t> sleeps = SleepsBeforeTheSecondFrame();
    EXPECT_GE(clock_.Now(), start + kInterval75);
    // 13.33 ms to wait: 1 ms sleeps while more than 4.44 ms remain, then only yields.
    std::vector<std::uint32_t> expected(9, 1);
    expected.resize(std::max<std::size_t>(sleeps.size(), 10), 0);
    EXPECT_EQ(sleeps, expected);
    // Without the fine wait only millisecond sleeps.
    keeper_.fineWait = false;
    recorder_.frames.clear();
    clock_.Set(keeper_.GetNextDue());
    EXPECT_EQ(SleepsBeforeTheSecondFrame(), std::vector<std::uint32_t>(14, 1));
    // The rate measured is of passes, whatever each counted: 75 here, about 37.5 with two frames a pass.
    for (int i = 0; i < 80; ++i)
        RunUntilFrame(keeper_);
    EXPECT_NEAR(keeper_.measuredFrameRate, 75.0, 1.0);
    CFrameRateKeeper slow;
    slow.frameListener = &recorder_;
    slow.SetFrameRate(75);
    for (int i = 0; i < 45; ++i) {
        slow.OnIdle();
        clock_.Advance(2 * kInterval75);
    }
    EXPECT_NEAR(slow.measuredFrameRate, 37.5, 1.0);
    EXPECT_EQ(recorder_.frames.back(), 2);
}

TEST_F(FrameRateKeeperTest, LatePassesCountTheTicksDueUpToTheCapAndDropTheRestAndPausedPassesOnlySleep)
{
    keeper_.maxFrames = 2;
    const std::uint64_t start = clock_.Now();
    keeper_.OnIdle(); // at the first due time
    // 2.5 intervals after the next due time: 3 ticks due, capped to 2.
    IdleAt(start + kInterval75 + kInterval75 * 5 / 2); // the 2 below
    // The dropped tick never comes back: the next due time is the first tick after that pass.
    const std::uint64_t nextTick = start + 4 * kInterval75;
    EXPECT_EQ(keeper_.GetNextDue(), static_cast<std::int64_t>(nextTick));
    IdleAt(nextTick - 1); // no frame yet: none between the 2 and the 1 below
    IdleAt(nextTick);
    // Without a cap, ten intervals late gives eleven frames (the fourth entry below).
    keeper_.maxFrames = 0;
    IdleAt(nextTick + 11 * kInterval75);
    // Paused passes only sleep, and the first pass afterwards is capped.
    keeper_.maxFrames = 2;
    clock_.Sleeps().clear();
    keeper_.paused = true;
    for (int i = 0; i < 20; ++i)
        keeper_.OnIdle();
    EXPECT_EQ(clock_.Sleeps(), std::vector<std::uint32_t>(20, 50));
    keeper_.paused = false;
    keeper_.OnIdle();
    ASSERT_EQ(recorder_.frames, (Ints{1, 2, 1, 11, 2}));
    // Next due jumped past now: the following pass waits.
    clock_.Sleeps().clear();
    keeper_.OnIdle();
    EXPECT_EQ(std::pair(recorder_.frames.size(), clock_.Sleeps().size()), std::pair(5ul, 1ul));
}

} // namespace
} // namespace korvane::test
