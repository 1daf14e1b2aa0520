/** @file StoreTesting.cpp Test hooks of the store service. */
#include "os/store/StoreTesting.h"

#include "os/store/StoreService.h"

namespace os::testing
{

using os::store::StoreService;

void FailNextStoreRequest(StoreRequest request, StoreFailure failure, std::int32_t resultCode)
{
    StoreService::Get().FailNext(request, failure, resultCode);
}

void DelayStoreResults(int pumps)
{
    StoreService::Get().SetDelay(pumps);
}

void SetStoreLoggedOn(bool loggedOn)
{
    StoreService::Get().SetLoggedOn(loggedOn);
}

void SetStoreUser(std::uint64_t id, const std::string& name)
{
    StoreService::Get().SetUser(id, name);
}

void SetStoreLanguage(const std::string& language)
{
    StoreService::Get().SetLanguage(language);
}

void SetStoreFriends(const std::vector<std::uint64_t>& friends)
{
    StoreService::Get().SetFriends(friends);
}

void SetStoreUserName(std::uint64_t id, const std::string& name)
{
    StoreService::Get().SetUserName(id, name);
}

bool SeedLeaderboard(const std::string& board, const std::vector<SeedEntry>& entries)
{
    return StoreService::Get().Seed(board, entries);
}

void SetAchievementDisplay(const std::string& id, const std::string& name, const std::string& desc)
{
    StoreService::Get().SetAchievementDisplay(id, name, desc);
}

void CaptureStoreDebugOutput(std::function<void(const std::string&)> sink)
{
    StoreService::Get().CaptureDebugOutput(std::move(sink));
}

void ResetStoreHooks()
{
    StoreService::Get().ResetHooks();
}

} // namespace os::testing
