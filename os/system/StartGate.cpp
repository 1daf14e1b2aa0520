/** @file StartGate.cpp A gate that holds a new thread until it is opened or cancelled. */
#include "os/system/StartGate.h"

namespace os::system
{

void StartGate::Open()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Closed)
            return;
        state_ = State::Open;
    }
    changed_.notify_all();
}

void StartGate::Cancel()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ != State::Closed)
            return;
        state_ = State::Cancelled;
    }
    changed_.notify_all();
}

bool StartGate::Wait()
{
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return state_ != State::Closed; });
    return state_ == State::Open;
}

bool StartGate::IsDecided() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return state_ != State::Closed;
}

} // namespace os::system
