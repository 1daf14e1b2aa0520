/** @file CallbackBase.h What the service's pump sees of a result holder, and the registration calls. */
#pragma once

#include "os/store/StoreTypes.h"

namespace os::store
{

/// A holder that the pump hands results to. Results are delivered only inside RunCallbacks,
/// on the thread that pumps.
class CallbackBase
{
public:
    explicit CallbackBase(int callbackId) : callbackId_(callbackId) {}
    virtual ~CallbackBase() = default;
    CallbackBase(const CallbackBase&) = delete;
    CallbackBase& operator=(const CallbackBase&) = delete;

    /// The id of the result record this holder takes.
    int GetCallbackId() const { return callbackId_; }

    /// Hands a result over. `call` is the request it answers (0 for a plain callback).
    virtual void Run(const void* result, bool ioFailure, CallHandle call) = 0;

private:
    int callbackId_;
};

/// Ties the holder to one started request; its result goes to this holder only.
void RegisterCallResult(CallbackBase* holder, CallHandle call);
/// Unties it; once this returns the holder's result will not be delivered.
void UnregisterCallResult(CallbackBase* holder, CallHandle call);
/// The holder hears every callback of its id until it is unregistered.
void RegisterCallback(CallbackBase* holder);
void UnregisterCallback(CallbackBase* holder);

} // namespace os::store
