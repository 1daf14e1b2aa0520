/** @file FrameRateKeeperTest.cpp Pacing, frame counts, the cap, pausing and the rate measurement. */
#include <gtest/gtest.h>

#include <vector>

#include "AppTestSupport.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"

namespace korvane::test
{
namespace
{

constexpr std::int64_t kInterval75 = 13333333; // ticks (ns) per frame at 75 frames a second

struct FrameRecorder : IFrameTimerListener
{
    std::vector<int> frames;
    std::vector<std::int64_t> intervals;
    void OnFrame(CFrameRateKeeper* keeper, int count) override
    {
        frames.push_back(count);
        intervals.push_back(keeper->frameInterval);
    }
};

// Runs idle passes until one produces a frame (or gives up).
void RunUntilFrame(CFrameRateKeeper& keeper, FrameRecorder& recorder)
{
    const std::size_t before = recorder.frames.size();
    for (int i = 0; i < 100000 && recorder.frames.size() == before; ++i)
        keeper.OnIdle();
}

TEST(FrameRateKeeper, LogsTheClockAndTheUptimeWhenCreated)
{
    FakeClock clock(((2ull * 86400 + 3 * 3600 + 4 * 60 + 5) * 1000000000ull) + 123);
    LogCapture log;
    CFrameRateKeeper keeper;
    EXPECT_TRUE(
        log.HasLine("INFO: Performance counter enabled: resolution = 1000000000Hz (1.000000nsec)\n"));
    EXPECT_TRUE(log.HasLine("INFO: System uptime: 2day(s) 03:04:05\n"));
}

TEST(FrameRateKeeper, IntervalIsTheTicksPerFrameRoundedToTheNearestTick)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    keeper.SetFrameRate(75);
    EXPECT_EQ(keeper.GetInterval(), kInterval75);
    keeper.SetFrameRate(3); // 333333333.33 rounds down
    EXPECT_EQ(keeper.GetInterval(), 333333333);
    keeper.SetFrameRate(7); // 142857142.857 rounds up
    EXPECT_EQ(keeper.GetInterval(), 142857143);
    keeper.SetFrameRate(0);
    EXPECT_EQ(keeper.GetInterval(), 0);
    keeper.SetFrameRate(-5);
    EXPECT_EQ(keeper.GetInterval(), 0);
}

TEST(FrameRateKeeper, WithoutPacingEveryPassIsOneFrameAndNothingSleeps)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.maxFrames = 2;
    for (int i = 0; i < 5; ++i)
    {
        clock.Advance(50000000); // far more than any interval
        keeper.OnIdle();
    }
    EXPECT_EQ(recorder.frames, std::vector<int>(5, 1));
    EXPECT_TRUE(clock.Sleeps().empty());
    EXPECT_EQ(keeper.GetTotalPasses(), 5);
}

TEST(FrameRateKeeper, WaitsInMillisecondSleepsThenYieldsForTheLastThird)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);

    keeper.OnIdle(); // exactly at the first due time: one frame
    ASSERT_EQ(recorder.frames, std::vector<int>{1});
    const std::uint64_t firstFrame = clock.Now();
    clock.Sleeps().clear();

    RunUntilFrame(keeper, recorder);
    ASSERT_EQ(recorder.frames.size(), 2u);
    EXPECT_EQ(recorder.frames[1], 1);
    EXPECT_GE(clock.Now(), firstFrame + kInterval75);

    // 13.33 ms to wait: 1 ms sleeps while more than 4.44 ms remain, then only yields.
    auto& sleeps = clock.Sleeps();
    std::size_t ones = 0;
    while (ones < sleeps.size() && sleeps[ones] == 1)
        ++ones;
    EXPECT_EQ(ones, 9u);
    for (std::size_t i = ones; i < sleeps.size(); ++i)
        EXPECT_EQ(sleeps[i], 0u) << i;
    EXPECT_GT(sleeps.size(), ones);
}

TEST(FrameRateKeeper, WithoutFineWaitOnlyMillisecondSleeps)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);
    keeper.fineWait = false;
    keeper.OnIdle();
    clock.Sleeps().clear();
    RunUntilFrame(keeper, recorder);
    EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>(14, 1));
}

TEST(FrameRateKeeper, LatePassesCountTheTicksDueUpToTheCapAndDropTheRest)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);
    keeper.maxFrames = 2;
    const std::uint64_t start = clock.Now();

    keeper.OnIdle(); // at the first due time
    // 2.5 intervals after the next due time: 3 ticks due, capped to 2.
    clock.Set(start + kInterval75 + kInterval75 * 5 / 2);
    keeper.OnIdle();
    ASSERT_EQ(recorder.frames, (std::vector<int>{1, 2}));

    // The dropped tick never comes back: the next due time is the first tick after that pass.
    const std::uint64_t nextTick = start + 4 * kInterval75;
    EXPECT_EQ(keeper.GetNextDue(), static_cast<std::int64_t>(nextTick));
    clock.Set(nextTick - 1);
    keeper.OnIdle();
    EXPECT_EQ(recorder.frames.size(), 2u);
    clock.Set(nextTick);
    keeper.OnIdle();
    ASSERT_EQ(recorder.frames.size(), 3u);
    EXPECT_EQ(recorder.frames[2], 1);
}

TEST(FrameRateKeeper, WithoutACapTenIntervalsLateGivesElevenFrames)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);
    clock.Advance(10 * kInterval75);
    keeper.OnIdle();
    EXPECT_EQ(recorder.frames, std::vector<int>{11});
}

TEST(FrameRateKeeper, PausedPassesOnlySleepAndTheFirstPassAfterwardsIsCapped)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);
    keeper.maxFrames = 2;
    keeper.OnIdle();
    clock.Sleeps().clear();

    keeper.paused = true;
    for (int i = 0; i < 20; ++i)
        keeper.OnIdle();
    EXPECT_EQ(clock.Sleeps(), std::vector<std::uint32_t>(20, 50));
    EXPECT_EQ(recorder.frames.size(), 1u);

    keeper.paused = false;
    keeper.OnIdle();
    ASSERT_EQ(recorder.frames.size(), 2u);
    EXPECT_EQ(recorder.frames[1], 2);
    // Next due jumped past now: the following pass waits.
    clock.Sleeps().clear();
    keeper.OnIdle();
    EXPECT_EQ(recorder.frames.size(), 2u);
    EXPECT_EQ(clock.Sleeps().size(), 1u);
}

TEST(FrameRateKeeper, MeasuresPassesPerSecondWhateverEachPassCounted)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.SetFrameRate(75);
    keeper.maxFrames = 2;
    for (int i = 0; i < 80; ++i)
        RunUntilFrame(keeper, recorder);
    EXPECT_NEAR(keeper.measuredFrameRate, 75.0, 1.0);

    // Passes every second tick (two frames each) measure about 37.5 passes a second.
    FakeClock slowClock;
    CFrameRateKeeper slow;
    FrameRecorder slowRecorder;
    slow.frameListener = &slowRecorder;
    slow.SetFrameRate(75);
    for (int i = 0; i < 45; ++i)
    {
        slow.OnIdle();
        slowClock.Advance(2 * kInterval75);
    }
    EXPECT_NEAR(slow.measuredFrameRate, 37.5, 1.0);
    EXPECT_EQ(slowRecorder.frames.back(), 2);
}

TEST(FrameRateKeeper, FrameIntervalIsTheTimeSinceThePreviousFramePass)
{
    FakeClock clock(5000000000ull);
    CFrameRateKeeper keeper;
    FrameRecorder recorder;
    keeper.frameListener = &recorder;
    keeper.OnIdle();
    clock.Advance(7000000);
    keeper.OnIdle();
    ASSERT_EQ(recorder.intervals.size(), 2u);
    EXPECT_EQ(recorder.intervals[0], 5000000000ll); // measured from clock value 0
    EXPECT_EQ(recorder.intervals[1], 7000000);
}

TEST(FrameRateKeeper, ElapsedMillisecondsCountFromConstruction)
{
    FakeClock clock;
    CFrameRateKeeper keeper;
    EXPECT_DOUBLE_EQ(keeper.GetElapsedMilliseconds(), 0.0);
    clock.Advance(1500000);
    EXPECT_DOUBLE_EQ(keeper.GetElapsedMilliseconds(), 1.5);
}

} // namespace
} // namespace korvane::test
