/** @file PausableThread.h A game thread: the engine's thread with a paused flag the game's loop polls. */
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "KorvaneXDK/core/Thread.h"

class CPausableThread : public korvane::CThread
{
public:
    CPausableThread();
    /// Stops the thread and waits until it has really ended (see StopAndJoin).
    ~CPausableThread() override;

    /// Only stores the flag; the game's loop polls it on every pass.
    virtual void SetPaused(bool paused);
    virtual bool IsPaused() const;

    void Start() override;

protected:
    /// Requests a stop and waits in 1 ms sleeps while the thread runs. After the engine's usual
    /// bound of 5000 sleeps it logs an error and goes on waiting: the object must not die under
    /// a loop that still reads it. Called from the thread itself it only requests the stop.
    /// Subclasses call it first in their destructors.
    void StopAndJoin();

    /// Runs a game's body on this thread. An engine or standard exception that escapes is
    /// reported (log lines and an error box shown from this thread) and ends the thread.
    void RunReported(const std::function<void()>& body);

private:
    std::atomic<bool> paused_{false};
    std::atomic<bool> started_{false};
    std::atomic<std::thread::id> runner_{};
};
