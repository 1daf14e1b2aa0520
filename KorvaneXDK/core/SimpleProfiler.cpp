/** @file SimpleProfiler.cpp The scope profiler. */
#include "KorvaneXDK/core/SimpleProfiler.h"

#include "KorvaneXDK/core/EngineClock.h"
#include "KorvaneXDK/core/Log.h"

namespace korvane
{

CSimpleProfiler::CSimpleProfiler(const std::string& name) : name_(name), start_(GetEngineElapsedMilliseconds()) {}

CSimpleProfiler::~CSimpleProfiler()
{
    if (!stopped_) {
        try {
            WriteLog(GetEngineElapsedMilliseconds() - start_);
        } catch (...) {
            // A destructor must not throw; the line is lost.
        }
    }
}

const std::string& CSimpleProfiler::GetName() const
{
    return name_;
}

double CSimpleProfiler::Stop(bool writeLog)
{
    if (stopped_)
        return 0.0;
    const double elapsed = GetEngineElapsedMilliseconds() - start_;
    if (writeLog)
        WriteLog(elapsed);
    stopped_ = true;
    return elapsed;
}

void CSimpleProfiler::Restart()
{
    stopped_ = false;
    start_ = GetEngineElapsedMilliseconds();
}

void CSimpleProfiler::WriteLog(double elapsed) const
{
    LogInfoF("CSimpleProfiler: '%s': Time: %fmsec", name_.c_str(), elapsed);
}

} // namespace korvane
