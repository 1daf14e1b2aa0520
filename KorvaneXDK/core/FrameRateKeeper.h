/** @file FrameRateKeeper.h Paces the main loop to a fixed frame rate and counts the frames due. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/FrameTimerListener.h"
#include "KorvaneXDK/core/GameApplicationListener.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// The application's idle listener: sleeps until the next frame tick is due, then tells its
/// frame listener how many ticks fell due (at most maxFrames when that is above 0). Measures the
/// achieved rate once a second and offers the engine's millisecond clock.
/// Times are ticks of the monotonic clock (nanoseconds). Main thread only, except
/// GetElapsedMilliseconds, which any thread may call.
class CFrameRateKeeper : public IGameApplicationListener, public virtual CNonCopyable
{
public:
    CFrameRateKeeper();
    ~CFrameRateKeeper() override;

    /// Below 1: no pacing. Otherwise the interval is the ticks per frame rounded to the nearest tick.
    void SetFrameRate(int framesPerSecond);
    int GetFrameRate() const { return frameRate_; }
    void OnIdle() override;
    /// Milliseconds since construction.
    double GetElapsedMilliseconds() const;
    /// Makes GetElapsedMilliseconds the engine clock (EngineClock.h) until this keeper is destroyed.
    void InstallAsEngineClock();

    /// Clock ticks per second.
    std::int64_t GetFrequency() const { return frequency_; }
    /// Ticks per frame; 0 when not pacing.
    std::int64_t GetInterval() const { return interval_; }
    /// Passes that produced frames since construction.
    int GetTotalPasses() const { return totalPasses_; }
    /// The clock value at which the next frame tick falls due.
    std::int64_t GetNextDue() const { return nextDue_; }

    // Set and read directly by the owner.
    int maxFrames = 0;                            ///< most frames counted in one pass; 0 or less: no limit
    bool paused = false;                          ///< while set, each pass only sleeps 50 ms
    bool fineWait = true;                         ///< wait precisely for the tick in the last third of an interval
    IFrameTimerListener* frameListener = nullptr; ///< not owned
    double measuredFrameRate = 0.0;               ///< passes per second over the last measurement
    std::int64_t frameInterval = 0;               ///< ticks between this pass and the previous one

private:
    std::int64_t ReadClock() const;

    int frameRate_ = 0;
    std::int64_t now_ = 0;
    std::int64_t nextDue_ = 0;
    std::int64_t previousPass_ = 0;
    std::int64_t lastMeasurement_ = 0;
    std::int64_t interval_ = 0;
    std::int64_t start_ = 0;
    int passesSinceMeasurement_ = 0;
    int totalPasses_ = 0;
    std::int64_t frequency_ = 1000000000;
};

} // namespace korvane
