/** @file CriticalSection.h A recursive lock. */
#pragma once

#include <mutex>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

class CCriticalSection : public virtual CNonCopyable
{
public:
    CCriticalSection() = default;
    virtual ~CCriticalSection() = default;

    virtual void Lock() { mutex_.lock(); }
    virtual void Unlock() { mutex_.unlock(); }

private:
    std::recursive_mutex mutex_;
};

} // namespace korvane
