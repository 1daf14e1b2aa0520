/** @file StartGate.h A gate that holds a new thread until it is opened or cancelled. */
#pragma once

#include <condition_variable>
#include <mutex>

namespace os::system
{

/// Stands in for a thread created suspended: the thread waits at the gate until Open
/// (run) or Cancel (end without running). Both are idempotent; the first decision wins.
class StartGate
{
public:
    void Open();
    void Cancel();
    /// Blocks until decided; returns true when opened, false when cancelled.
    bool Wait();
    bool IsDecided() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    enum class State
    {
        Closed,
        Open,
        Cancelled
    } state_ = State::Closed;
};

} // namespace os::system
