/** @file User.cpp The local user, served by the store service. */
#include "os/store/User.h"

#include "os/store/StoreService.h"

namespace os::store
{

bool User::IsLoggedOn()
{
    return StoreService::Get().IsLoggedOn();
}

std::uint64_t User::GetUserId()
{
    return StoreService::Get().GetUserId();
}

} // namespace os::store
