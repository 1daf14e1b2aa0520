/** @file ContextLink.h What a device's GL objects share with the device: whether its context still lives. */
#pragma once

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace os::gfx
{

/// Resources (shaders, later textures) may be released on any thread and after their device
/// is gone. They hand their GL clean-up to this link: run at once on the context's thread,
/// queued for the device's next call from another thread, dropped once the context is gone.
class ContextLink
{
public:
    explicit ContextLink(std::thread::id owner) : owner_(owner) {}

    /// Runs or queues a clean-up that needs the context.
    void Release(std::function<void()> cleanup);
    /// Runs the queued clean-ups; called by the device on its own thread.
    void Drain();
    /// Called by the device just before its context is destroyed: queued work runs, later work is dropped.
    void Close();

    bool IsAlive() const;
    bool IsOwnerThread() const { return std::this_thread::get_id() == owner_; }

private:
    mutable std::mutex mutex_;
    std::thread::id owner_;
    bool alive_ = true;
    std::vector<std::function<void()>> pending_;
};

} // namespace os::gfx
