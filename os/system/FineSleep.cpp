/** @file FineSleep.cpp One absolute sleep to a margin before the deadline, then yields. */
#include "os/system/FineSleep.h"

#include <sched.h>
#include <time.h>

#include <cerrno>

#include "os/system/System.h"
#include "os/system/TimingHooks.h"

namespace os::system
{

namespace
{

std::uint64_t Now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(ts.tv_nsec);
}

} // namespace

void SleepUntil(std::uint64_t deadlineNanoseconds)
{
    if (detail::AreTimingHooksInstalled()) {
        Sleep(0);
        return;
    }
    if (deadlineNanoseconds > kFineSleepMarginNanoseconds &&
        Now() < deadlineNanoseconds - kFineSleepMarginNanoseconds) {
        const std::uint64_t wake = deadlineNanoseconds - kFineSleepMarginNanoseconds;
        timespec request{static_cast<time_t>(wake / 1000000000ull), static_cast<long>(wake % 1000000000ull)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &request, nullptr) == EINTR) {
        }
    }
    while (Now() < deadlineNanoseconds) {
        sched_yield();
    }
}

} // namespace os::system
