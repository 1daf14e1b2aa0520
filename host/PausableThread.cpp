/** @file PausableThread.cpp A game thread with a paused flag. */
#include "host/PausableThread.h"

#include <exception>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/ExceptionReport.h"
#include "KorvaneXDK/core/Log.h"
#include "os/system/System.h"

CPausableThread::CPausableThread() = default;

CPausableThread::~CPausableThread()
{
    StopAndJoin();
}

void CPausableThread::SetPaused(bool paused)
{
    paused_ = paused;
}

bool CPausableThread::IsPaused() const
{
    return paused_;
}

void CPausableThread::Start()
{
    started_ = true;
    CThread::Start();
}

void CPausableThread::StopAndJoin()
{
    if (!started_) {
        // Never started: the engine's wait releases the held thread, which ends without running.
        StopAndWait();
        return;
    }
    RequestStop();
    if (runner_.load() == std::this_thread::get_id())
        return;
    for (int i = 0; i < kDestructorWaitCount && IsActive(); ++i)
        os::system::Sleep(1);
    if (!IsActive())
        return;
    korvane::LogErrorF("CPausableThread: the game thread did not stop within %d ms; waiting until it ends",
                       kDestructorWaitCount);
    while (IsActive())
        os::system::Sleep(1);
}

void CPausableThread::RunReported(const std::function<void()>& body)
{
    runner_ = std::this_thread::get_id();
    try {
        body();
    } catch (const korvane::EException& e) {
        korvane::ShowEngineException(e, nullptr);
    } catch (const std::exception& e) {
        korvane::ShowStdException(e, nullptr);
    }
}
