/** @file Thread.h The engine's thread object: created held, started on request, stopped cooperatively. */
#pragma once

#include <cstdint>
#include <memory>
#include <thread>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class CThread : public virtual CNonCopyable
{
public:
    /// Creates the thread held at its start gate; throws EIOError "Cannot create thread." on failure.
    CThread();
    /// Requests a stop and waits up to 5000 sleeps of 1 ms; a thread that never started waits the
    /// whole bound, then ends without running.
    virtual ~CThread();

    virtual void Run() = 0;
    virtual void Start();
    virtual void RequestStop();
    virtual bool IsStopRequested() const;
    /// timeout 0 waits without limit; a step below 1 ms counts as 1 ms.
    virtual void WaitForExit(std::uint32_t timeoutMs, std::uint32_t stepMs);
    virtual bool IsActive() const;

    /// Longest wait of the destructor, in sleeps of 1 ms.
    static constexpr int kDestructorWaitCount = 5000;

protected:
    /// Requests a stop and waits like the destructor. Subclasses with state of their own call it
    /// first in their destructors, so Run never sees a half-destroyed object.
    void StopAndWait();

private:
    struct Control;
    static void ThreadProc(std::shared_ptr<Control> control, CThread* self);

    std::shared_ptr<Control> control_;
    std::thread thread_;
};

} // namespace korvane
