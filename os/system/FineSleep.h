/** @file FineSleep.h Waiting for a deadline of the monotonic clock more precisely than whole milliseconds. */
#pragma once

#include <cstdint>

namespace os::system
{

/// How long before the deadline the one sleep ends; the rest is spent yielding, which the
/// scheduler wakes from within microseconds while a sleep may overshoot by more.
inline constexpr std::uint64_t kFineSleepMarginNanoseconds = 300000;

/// Waits until the monotonic clock reaches the deadline: one sleep to the margin before it,
/// then zero-length yields. While a test replaces the clock or the sleep, it only yields once
/// through the replacement and returns, so the caller's loop stays driven by the test's clock.
void SleepUntil(std::uint64_t deadlineNanoseconds);

} // namespace os::system
