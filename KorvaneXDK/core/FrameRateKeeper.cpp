/** @file FrameRateKeeper.cpp Frame pacing on the monotonic clock. */
#include "KorvaneXDK/core/FrameRateKeeper.h"

#include <cinttypes>

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/Log.h"
#include "os/system/FineSleep.h"
#include "os/system/System.h"

namespace korvane
{

CFrameRateKeeper::CFrameRateKeeper()
{
    // The monotonic clock has nanosecond resolution and sleeps of 1 ms are already about 1 ms
    // long here, so there is no timer resolution to ask for.
    frequency_ = 1000000000;
    LogInfoF("Performance counter enabled: resolution = %" PRId64 "Hz (%fnsec)", frequency_,
             1000000000.0 / static_cast<double>(frequency_));
    const std::int64_t clock = ReadClock();
    now_ = clock;
    nextDue_ = clock;
    lastMeasurement_ = clock;
    start_ = clock;
    const std::int64_t seconds = clock / frequency_;
    LogInfoF("System uptime: %" PRId64 "day(s) %02" PRId64 ":%02" PRId64 ":%02" PRId64, seconds / 86400,
             seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
}

CFrameRateKeeper::~CFrameRateKeeper()
{
    // The engine clock must not call into a keeper that is gone.
    ClearEngineClockSource(this);
}

void CFrameRateKeeper::InstallAsEngineClock()
{
    // The source holds copies, not the keeper: a game thread may still be inside a copy of it
    // while the keeper's destructor takes it away.
    const std::int64_t start = start_;
    const std::int64_t frequency = frequency_;
    SetEngineClockSource(
        [start, frequency] {
            const auto now = static_cast<std::int64_t>(os::system::MonotonicNanoseconds());
            return static_cast<double>(now - start) * 1000.0 / static_cast<double>(frequency);
        },
        this);
}

std::int64_t CFrameRateKeeper::ReadClock() const
{
    return static_cast<std::int64_t>(os::system::MonotonicNanoseconds());
}

void CFrameRateKeeper::SetFrameRate(int framesPerSecond)
{
    frameRate_ = framesPerSecond;
    if (framesPerSecond < 1)
        interval_ = 0;
    else
        interval_ = (frequency_ * 10 / framesPerSecond + 5) / 10;
}

void CFrameRateKeeper::OnIdle()
{
    if (paused) {
        os::system::Sleep(50);
        return;
    }
    now_ = ReadClock();
    if (interval_ != 0 && now_ < nextDue_) {
        // The last third: one precise wait for the tick instead of spinning on yields, which
        // kept a third of a core busy.
        if (fineWait && nextDue_ - now_ <= interval_ / 3)
            os::system::SleepUntil(static_cast<std::uint64_t>(nextDue_));
        else
            os::system::Sleep(1);
        return;
    }
    int frames = 1;
    if (interval_ > 0) {
        const std::int64_t due = (now_ - nextDue_) / interval_ + 1;
        frames = due > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(due);
        if (maxFrames > 0 && frames > maxFrames)
            frames = maxFrames;
    }
    const std::int64_t sinceMeasurement = now_ - lastMeasurement_;
    if (sinceMeasurement >= frequency_) {
        const double span = sinceMeasurement == 0 ? 1.0 : static_cast<double>(sinceMeasurement);
        measuredFrameRate = static_cast<double>(frequency_) / span * passesSinceMeasurement_;
        lastMeasurement_ = now_;
        passesSinceMeasurement_ = 0;
    }
    ++passesSinceMeasurement_;
    ++totalPasses_;
    if (interval_ > 0) {
        // Ticks beyond the cap are dropped here: a long stall does not come back as a burst.
        if (nextDue_ <= now_)
            nextDue_ += ((now_ - nextDue_) / interval_ + 1) * interval_;
    }
    frameInterval = now_ - previousPass_;
    if (frameListener)
        frameListener->OnFrame(this, frames);
    previousPass_ = now_;
}

double CFrameRateKeeper::GetElapsedMilliseconds() const
{
    return static_cast<double>(ReadClock() - start_) * 1000.0 / static_cast<double>(frequency_);
}

} // namespace korvane
