/** @file ConsoleHostAccess.cpp The display lock and the merged controller. */
#include "host/ConsoleHostAccess.h"

#include <atomic>

#include "KorvaneXDK/core/CriticalSection.h"
#include "KorvaneXDK/core/ScopedLock.h"
#include "KorvaneXDK/platform/input/Controller.h"

namespace
{

std::atomic<korvane::IController*> gController{nullptr};

} // namespace

korvane::CCriticalSection& GetDisplayLock()
{
    // Never destroyed: a game thread may still be composing while static objects go away.
    static korvane::CCriticalSection* lock = new korvane::CCriticalSection;
    return *lock;
}

korvane::IController* GetConsoleController()
{
    return gController.load();
}

void SetConsoleController(korvane::IController* controller)
{
    korvane::CScopedLock lock(GetDisplayLock());
    gController.store(controller);
}

void PollConsoleController()
{
    korvane::CScopedLock lock(GetDisplayLock());
    if (korvane::IController* controller = gController.load())
        controller->Update();
}
