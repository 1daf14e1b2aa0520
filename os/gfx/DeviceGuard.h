/** @file DeviceGuard.h The preamble every device call shares (internal to the device's files). */
#pragma once

#include <mutex>

#include "os/gfx/Device.h"

namespace os::gfx
{

/// The preamble of every device call: holds the device's lock for the call, takes in a loss
/// the test hooks announced (calls that can meet one), and tells whether the calling thread
/// may use the context (calls that need it).
class Device::Guard
{
public:
    enum Need : unsigned
    {
        kLock = 0,
        kOwner = 1,    ///< refused off the device's thread
        kLossNews = 2, ///< takes in a pending loss first
    };

    /// Queries (const calls) never take in a loss.
    Guard(const Device& device, unsigned need)
        : lock_(device.mutex_), refused_((need & kOwner) != 0 && !device.IsOwnerThread())
    {}
    Guard(Device& device, unsigned need) : Guard(static_cast<const Device&>(device), need)
    {
        if ((need & kLossNews) != 0) {
            device.PollLossHooks();
        }
    }

    /// The call must fail with the invalid-call code.
    bool Refused() const { return refused_; }

private:
    std::lock_guard<std::recursive_mutex> lock_;
    bool refused_ = false;
};

} // namespace os::gfx
