/** @file Store.cpp The service's entry points and its interface objects. */
#include "os/store/Store.h"

#include "os/store/Apps.h"
#include "os/store/Friends.h"
#include "os/store/StoreService.h"
#include "os/store/User.h"
#include "os/store/UserStats.h"
#include "os/store/Utils.h"

namespace os::store
{

namespace
{

StoreService& Service()
{
    return StoreService::Get();
}

template <class T>
T* Interface()
{
    static T object;
    return Service().IsRunning() ? &object : nullptr;
}

} // namespace

bool Init()
{
    return Service().Init();
}

void Shutdown()
{
    Service().Shutdown();
}

void RunCallbacks()
{
    Service().RunCallbacks();
}

void SetSaveFolder(const std::string& folder)
{
    Service().SetSaveFolder(folder);
}

UserStats* GetUserStats()
{
    return Interface<UserStats>();
}

User* GetUser()
{
    return Interface<User>();
}

Friends* GetFriends()
{
    return Interface<Friends>();
}

Utils* GetUtils()
{
    return Interface<Utils>();
}

Apps* GetApps()
{
    return Interface<Apps>();
}

void DebugOutput(const char* text)
{
    Service().DebugOutput(text);
}

void SetLogFunction(std::function<void(const std::string&)> log)
{
    Service().SetLogFunction(std::move(log));
}

void RegisterCallResult(CallbackBase* holder, CallHandle call)
{
    Service().RegisterCallResult(holder, call);
}

void UnregisterCallResult(CallbackBase* holder, CallHandle call)
{
    Service().UnregisterCallResult(holder, call);
}

void RegisterCallback(CallbackBase* holder)
{
    Service().RegisterCallback(holder);
}

void UnregisterCallback(CallbackBase* holder)
{
    Service().UnregisterCallback(holder);
}

} // namespace os::store
