/** @file SimpleProfilerTest.cpp The scope profiler's lines on an injected engine clock. */
#include "KorvaneXDK/core/SimpleProfiler.h"
#include "AppTestSupport.h"
#include "KorvaneXDK/core/EngineClock.h"

namespace korvane::test
{

TEST(SimpleProfiler, WritesOneLineWithSixDecimalsWhenStoppedWithLogOrDestroyedRunningOnTheEngineClock)
{
    double now = 100.0;
    SetEngineClockSource([&now] { return now; });
    LogCapture log;
    {
        CSimpleProfiler profiler("Precache");
        now += 12.25;
    }
    {
        CSimpleProfiler profiler("job");
        now += 2.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 2.0);
        now += 50.0;
        profiler.Restart();
        now += 0.5;
    }
    {
        // Without the log: nothing now or later, and a second stop measures nothing.
        CSimpleProfiler profiler("quiet");
        now += 3.5;
        EXPECT_DOUBLE_EQ(profiler.Stop(false), 3.5);
        now += 1.0;
        EXPECT_DOUBLE_EQ(profiler.Stop(true), 0.0);
    }
    SetEngineClockSource({});
    EXPECT_EQ(log.Lines(), (Calls{"INFO: CSimpleProfiler: 'Precache': Time: 12.250000msec\n",
                                  "INFO: CSimpleProfiler: 'job': Time: 2.000000msec\n",
                                  "INFO: CSimpleProfiler: 'job': Time: 0.500000msec\n"}));
    // The engine clock follows the installed keeper until it goes, then the monotonic clock.
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
    CFrameRateKeeper{}; // made and gone without installing itself
    EXPECT_DOUBLE_EQ(GetEngineElapsedMilliseconds(), 42.0);
    SetEngineClockSource({});
}

} // namespace korvane::test
