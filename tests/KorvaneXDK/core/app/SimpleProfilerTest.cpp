/** @file SimpleProfilerTest.cpp The scope profiler's lines on an injected engine clock. */
#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/SimpleProfiler.h"

namespace korvane::test
{
namespace
{

class SimpleProfilerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetEngineClockSource([this] { return now_; });
    }
    void TearDown() override { SetEngineClockSource({}); }
    double now_ = 100.0;
};

TEST_F(SimpleProfilerTest, WritesOneLineWithSixDecimalsWhenStoppedWithLogOrDestroyedRunning)
{
    LogCapture log;
    {
        CSimpleProfiler profiler("Precache");
        EXPECT_EQ(profiler.GetName(), "Precache");
        now_ += 12.25;
    }
    {
        CSimpleProfiler profiler("job");
        now_ += 2.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 2.0);
        now_ += 50.0;
        profiler.Restart();
        now_ += 0.5;
    }
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"INFO: CSimpleProfiler: 'Precache': Time: 12.250000msec\n",
                                                     "INFO: CSimpleProfiler: 'job': Time: 2.000000msec\n",
                                                     "INFO: CSimpleProfiler: 'job': Time: 0.500000msec\n"}));
}

TEST_F(SimpleProfilerTest, StopWithoutLogWritesNothingNowOrLaterAndASecondStopIsZero)
{
    LogCapture log;
    {
        CSimpleProfiler profiler("quiet");
        now_ += 3.5;
        EXPECT_DOUBLE_EQ(profiler.Stop(false), 3.5);
        now_ += 1.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 0.0);
    }
    EXPECT_TRUE(log.Lines().empty());
}

TEST(EngineClock, FollowsTheInstalledKeeperUntilItGoesThenTheMonotonicClock)
{
    FakeClock clock;
    {
        CFrameRateKeeper keeper;
        keeper.InstallAsEngineClock();
        clock.Advance(4000000);
        EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 4.0);
        // Another owner's clearing does not take the keeper's source away.
        int other = 0;
        ClearEngineClockSource(&other);
        EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 4.0);
    }
    // The keeper took its source with it: the fallback runs on the monotonic clock.
    const double first = GetEngineElapsedMilliseconds();
    clock.Advance(2500000);
    EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds() - first, 2.5);

    // A source installed without an owner stays until it is replaced.
    SetEngineClockSource([] { return 42.0; });
    {
        CFrameRateKeeper keeper;
    }
    EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 42.0);
    SetEngineClockSource({});
}

} // namespace
} // namespace korvane::test
