/** @file ContextLink.cpp Deferred GL clean-up for resources released off the context's thread. */
#include "os/gfx/ContextLink.h"

namespace os::gfx
{

void ContextLink::Release(std::function<void()> cleanup)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!alive_) {
        return;
    }
    if (IsOwnerThread()) {
        lock.unlock();
        cleanup();
        return;
    }
    pending_.push_back(std::move(cleanup));
}

void ContextLink::Drain()
{
    std::vector<std::function<void()>> work;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        work.swap(pending_);
    }
    for (auto& cleanup : work) {
        cleanup();
    }
}

void ContextLink::Close()
{
    Drain();
    std::lock_guard<std::mutex> lock(mutex_);
    alive_ = false;
    pending_.clear();
}

bool ContextLink::IsAlive() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return alive_;
}

} // namespace os::gfx
