/** @file Callback.h Ties one callback id to a handler of an object for as long as it is registered. */
#pragma once

#include "os/store/CallbackBase.h"

namespace os::store
{

template <class T, class P>
class Callback final : private CallbackBase
{
public:
    using Handler = void (T::*)(const P* result);

    Callback() : CallbackBase(P::kCallbackId) {}
    Callback(T* object, Handler handler) : CallbackBase(P::kCallbackId) { Register(object, handler); }
    ~Callback() override { Unregister(); }

    void Register(T* object, Handler handler)
    {
        Unregister();
        object_ = object;
        handler_ = handler;
        RegisterCallback(this);
        registered_ = true;
    }

    void Unregister()
    {
        if (!registered_)
            return;
        UnregisterCallback(this);
        registered_ = false;
    }

    bool IsRegistered() const { return registered_; }

private:
    void Run(const void* result, bool, CallHandle) override
    {
        if (object_ && handler_)
            (object_->*handler_)(static_cast<const P*>(result));
    }

    T* object_ = nullptr;
    Handler handler_ = nullptr;
    bool registered_ = false;
};

} // namespace os::store
