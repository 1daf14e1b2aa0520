/** @file FineSleepTest.cpp The precise wait for a deadline, and its yield while a test drives the clock. */
#include <gtest/gtest.h>

#include <vector>

#include "os/system/FineSleep.h"
#include "os/system/System.h"

namespace
{

TEST(FineSleepTest, ReturnsNotBeforeTheDeadline)
{
    for (std::uint64_t ahead : {0ull, 100000ull, 2000000ull}) {
        const std::uint64_t deadline = os::system::MonotonicNanoseconds() + ahead;
        os::system::SleepUntil(deadline);
        EXPECT_GE(os::system::MonotonicNanoseconds(), deadline) << ahead;
    }
}

TEST(FineSleepTest, UnderATestsSleepItYieldsOnceThroughIt)
{
    std::vector<std::uint32_t> sleeps;
    os::testing::SetSleepFunction([&](std::uint32_t ms) { sleeps.push_back(ms); });
    os::system::SleepUntil(os::system::MonotonicNanoseconds() + 1000000000ull);
    os::testing::SetSleepFunction({});
    EXPECT_EQ(std::vector<std::uint32_t>{0}, sleeps);
}

} // namespace
