/** @file CallResult.h Links one pending request to a handler of the object that started it. */
#pragma once

#include "os/store/CallbackBase.h"

namespace os::store
{

/// Holds at most one pending request. Setting a new one forgets the one it still waits for,
/// so a stale result never reaches the handler; destruction does the same.
template <class T, class P>
class CallResult final : private CallbackBase
{
public:
    using Handler = void (T::*)(const P* result, bool ioFailure);

    CallResult() : CallbackBase(P::kCallbackId) {}
    ~CallResult() override { Cancel(); }

    /// Waits for `call` (0: waits for nothing) and hands its result to object->*handler.
    void Set(CallHandle call, T* object, Handler handler)
    {
        if (call_ != kInvalidCallHandle)
            UnregisterCallResult(this, call_);
        call_ = call;
        object_ = object;
        handler_ = handler;
        if (call_ != kInvalidCallHandle)
            RegisterCallResult(this, call_);
    }

    bool IsActive() const { return call_ != kInvalidCallHandle; }

    void Cancel()
    {
        if (call_ == kInvalidCallHandle)
            return;
        UnregisterCallResult(this, call_);
        call_ = kInvalidCallHandle;
    }

private:
    void Run(const void* result, bool ioFailure, CallHandle call) override
    {
        if (call != call_)
            return;
        call_ = kInvalidCallHandle;
        if (object_ && handler_)
            (object_->*handler_)(static_cast<const P*>(result), ioFailure);
    }

    CallHandle call_ = kInvalidCallHandle;
    T* object_ = nullptr;
    Handler handler_ = nullptr;
};

} // namespace os::store
