/** @file ScopedLock.h Holds a CCriticalSection for one scope. */
#pragma once

#include "KorvaneXDK/core/CriticalSection.h"

namespace korvane
{

class CScopedLock : public virtual CNonCopyable
{
public:
    explicit CScopedLock(CCriticalSection& lock) : lock_(&lock) { lock_->Lock(); }
    virtual ~CScopedLock() { lock_->Unlock(); }

private:
    CCriticalSection* lock_;
};

} // namespace korvane
