/** @file EngineClock.h The engine's millisecond clock, reachable without the platform driver. */
#pragma once

#include <functional>

namespace korvane
{

/// Returns milliseconds on the engine's clock. Any thread.
using EngineClockSource = std::function<double()>;

/// The engine clock: the source the driver installed (its frame-rate keeper's elapsed
/// milliseconds), or else milliseconds of the monotonic clock since its first reading.
double GetEngineElapsedMilliseconds();
/// Installs the source; an empty function restores the fallback. Set it before other threads read it.
void SetEngineClockSource(EngineClockSource source);
/// Installs the source on behalf of an owner, so that the owner can take it away again when it goes.
void SetEngineClockSource(EngineClockSource source, const void* owner);
/// Restores the fallback when the installed source is the owner's; another owner's source stays.
void ClearEngineClockSource(const void* owner);

} // namespace korvane
