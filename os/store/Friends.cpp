/** @file Friends.cpp Names and friends, served by the store service. */
#include "os/store/Friends.h"

#include "os/store/StoreService.h"

namespace os::store
{

std::int32_t Friends::GetFriendCount(std::int32_t flags)
{
    return StoreService::Get().GetFriendCount(flags);
}

std::uint64_t Friends::GetFriendByIndex(std::int32_t index, std::int32_t flags)
{
    return StoreService::Get().GetFriendByIndex(index, flags);
}

const char* Friends::GetPersonaName()
{
    return StoreService::Get().GetPersonaName();
}

const char* Friends::GetFriendPersonaName(std::uint64_t user)
{
    return StoreService::Get().GetFriendPersonaName(user);
}

} // namespace os::store
