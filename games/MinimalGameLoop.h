/** @file MinimalGameLoop.h The frame loop both games run: hand over one frame a tick until stopped. */
#pragma once

class CPausableThread;

namespace games
{

/// Resets the display to its defaults with only the backdrop shown, then, until a stop is
/// requested: while paused only sleeps 1 ms a pass; otherwise reads the tick and the input,
/// hands one frame over and sleeps 1 ms at a time until the next tick (or a stop or pause).
/// The stop and the pause are polled on every pass and every sleep.
void RunMinimalGameLoop(CPausableThread& thread);

} // namespace games
