/** @file Thread.cpp The engine's thread object over std::thread and a start gate. */
#include "KorvaneXDK/core/Thread.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/Log.h"
#include "KorvaneXDK/core/TypeName.h"
#include "os/system/StartGate.h"
#include "os/system/System.h"

namespace korvane
{

// Shared by the object and its running thread, so a thread that outlives the destructor's
// wait never touches freed control state.
struct CThread::Control
{
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> finished{false};
    os::system::StartGate gate;
};

CThread::CThread() : control_(std::make_shared<Control>())
{
    try {
        thread_ = std::thread(&CThread::ThreadProc, control_, this);
    } catch (const std::system_error&) {
        throw EIOError(this, "Cannot create thread.");
    }
}

CThread::~CThread()
{
    StopAndWait();
}

void CThread::ThreadProc(std::shared_ptr<Control> control, CThread* self)
{
    if (control->gate.Wait()) {
        // An exception leaving a thread would end the process; report it and end the thread.
        try {
            self->Run();
        } catch (const EException& e) {
            LogEngineException(e);
        } catch (const std::exception& e) {
            LogErrorF("korvane::CThread: %s: %s", GetRuntimeClassName(e).c_str(), e.what());
        } catch (...) {
            LogErrorF("korvane::CThread: unknown exception");
        }
    }
    control->finished = true;
}

void CThread::Start()
{
    if (!thread_.joinable()) {
        LogErrorF("korvane::CThread::Start: Cannot start thread");
        return;
    }
    control_->gate.Open();
}

void CThread::RequestStop()
{
    control_->stopRequested = true;
}

bool CThread::IsStopRequested() const
{
    return control_->stopRequested;
}

bool CThread::IsActive() const
{
    return thread_.joinable() && !control_->finished;
}

void CThread::WaitForExit(std::uint32_t timeoutMs, std::uint32_t stepMs)
{
    if (!thread_.joinable())
        return;
    // A step of 0 would never advance the elapsed count.
    const std::uint32_t step = std::max<std::uint32_t>(stepMs, 1);
    if (timeoutMs == 0) {
        while (IsActive())
            os::system::Sleep(step);
        return;
    }
    // Counted wider than the timeout, so a step near the top of the range cannot wrap it.
    std::uint64_t elapsed = 0;
    while (elapsed < timeoutMs && IsActive()) {
        os::system::Sleep(step);
        elapsed += step;
    }
}

void CThread::StopAndWait()
{
    if (!thread_.joinable())
        return;
    control_->stopRequested = true;
    if (thread_.get_id() == std::this_thread::get_id()) {
        thread_.detach();
        return;
    }
    // A thread held at its gate counts as active, so one never started waits the whole bound.
    for (int i = 0; i < kDestructorWaitCount && !control_->finished; ++i)
        os::system::Sleep(1);
    // A held thread is then released to end without running; a started one is not affected.
    const bool neverStarted = !control_->gate.IsDecided();
    control_->gate.Cancel();
    if (control_->finished || neverStarted) {
        thread_.join();
        return;
    }
    LogErrorF("korvane::CThread: thread did not stop within the wait bound");
    thread_.detach();
}

} // namespace korvane
