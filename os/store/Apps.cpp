/** @file Apps.cpp The game language, served by the store service. */
#include "os/store/Apps.h"

#include "os/store/StoreService.h"

namespace os::store
{

const char* Apps::GetCurrentGameLanguage()
{
    return StoreService::Get().GetCurrentGameLanguage();
}

} // namespace os::store
