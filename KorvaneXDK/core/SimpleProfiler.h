/** @file SimpleProfiler.h Measures how long a scope takes on the engine clock and logs it. */
#pragma once

#include <string>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Starts timing when constructed; writes "CSimpleProfiler: '<name>': Time: <ms>msec" when
/// stopped with logging or destroyed while running.
class CSimpleProfiler : public virtual CObject
{
public:
    explicit CSimpleProfiler(const std::string& name);
    ~CSimpleProfiler() override;

    virtual const std::string& GetName() const;
    /// The milliseconds since the start, or 0.0 when already stopped.
    virtual double Stop(bool writeLog);
    virtual void Restart();

private:
    void WriteLog(double elapsed) const;

    std::string name_;
    double start_ = 0.0;
    bool stopped_ = false;
};

} // namespace korvane
