/** @file DriverRegressionTest.cpp Faults found in the driver's pacing: the engine clock outliving its keeper. */
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"

namespace
{

// Game threads read the engine clock while the main thread's driver goes away. The clock must
// never reach into a keeper that has been destroyed (the sanitizer build reports such a read).
TEST(DriverRegressionTest, EngineClockReadersSurviveTheKeepersDestruction)
{
    std::atomic<bool> done{false};
    std::atomic<long> readings{0};
    std::atomic<bool> allFinite{true};
    std::thread reader([&] {
        while (!done.load(std::memory_order_acquire)) {
            if (!std::isfinite(korvane::GetEngineElapsedMilliseconds())) {
                allFinite = false;
            }
            ++readings;
        }
    });
    while (readings.load() == 0) {
        std::this_thread::yield();
    }
    // Keepers come and go while the reader reads, for a while on both sides.
    for (int i = 0; i < 2000 || (readings.load() < 20000 && i < 200000); ++i) {
        auto* keeper = new korvane::CFrameRateKeeper();
        keeper->InstallAsEngineClock();
        delete keeper;
    }
    done.store(true, std::memory_order_release);
    reader.join();
    EXPECT_TRUE(allFinite.load());
}

TEST(DriverRegressionTest, InstalledEngineClockCountsFromTheKeepersStart)
{
    korvane::CFrameRateKeeper keeper;
    keeper.InstallAsEngineClock();
    const double keeperBefore = keeper.GetElapsedMilliseconds();
    const double engine = korvane::GetEngineElapsedMilliseconds();
    const double keeperAfter = keeper.GetElapsedMilliseconds();
    EXPECT_LE(keeperBefore, engine);
    EXPECT_LE(engine, keeperAfter);
}

} // namespace
