/** @file AppTestSupport.h Log capture and an injected clock for the loop, pacing and scene tests. */
#pragma once

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FrameRateKeeper.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/SceneManager.h"
#include "KorvaneXDK/core/StandardScene.h"
#include "os/system/System.h"
#include "support/LogCapture.h"

namespace korvane::test
{

using Calls = std::vector<std::string>;
using Ints = std::vector<int>;

/// Replaces the monotonic clock with a counter in nanoseconds; a sleep of n ms moves it n ms on,
/// a zero-length sleep (a yield) moves it 0.1 ms on. Sleeps are recorded.
class FakeClock
{
public:
    explicit FakeClock(std::uint64_t startNs = 1000000000000ull) : now_(startNs)
    {
        os::testing::SetClockFunction([this] { return now_; });
        os::testing::SetSleepFunction([this](std::uint32_t ms) {
            sleeps_.push_back(ms);
            now_ += ms == 0 ? 100000 : std::uint64_t(ms) * 1000000ull;
        });
    }
    ~FakeClock()
    {
        os::testing::SetClockFunction({});
        os::testing::SetSleepFunction({});
    }
    std::uint64_t Now() const { return now_; }
    void Set(std::uint64_t ns) { now_ = ns; }
    void Advance(std::uint64_t ns) { now_ += ns; }
    std::vector<std::uint32_t>& Sleeps() { return sleeps_; }

private:
    std::uint64_t now_;
    std::vector<std::uint32_t> sleeps_;
};

} // namespace korvane::test
