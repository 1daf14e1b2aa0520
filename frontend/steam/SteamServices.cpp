/** @file SteamServices.cpp The process-wide clients and the board table. */
#include "frontend/steam/SteamServices.h"

#include <new>

#include "frontend/steam/SteamLeaderboards.h"
#include "frontend/steam/SteamRemoteStorage.h"

CSteamLeaderboards* gSteamLeaderboards = nullptr;
CSteamRemoteStorage* gSteamRemoteStorage = nullptr;

namespace
{

const char* const kBoardNames[kLeaderboardCount] = {
    "LB_QV_DEF_TRAINING", "LB_QV_DEF_EASY",     "LB_QV_DEF_NORMAL", "LB_QV_DEF_HARD",
    "LB_QV_DEF_SPECIAL",  "LB_QV_SPE_TRAINING", "LB_QV_SPE_EASY",   "LB_QV_SPE_NORMAL",
    "LB_QV_SPE_HARD",     "LB_QV_SPE_SPECIAL",  "LB_TV_DEF_TRIAL",  "LB_TV_DEF_NORMAL",
};

} // namespace

void CreateSteamServices()
{
    // Clients of an earlier run in the same process are replaced, not left behind.
    delete gSteamRemoteStorage;
    delete gSteamLeaderboards;
    gSteamLeaderboards = new (std::nothrow) CSteamLeaderboards;
    gSteamRemoteStorage = new (std::nothrow) CSteamRemoteStorage;
}

const char* GetLeaderboardBoardName(std::int32_t index)
{
    if (index < 0 || index >= kLeaderboardCount)
        return nullptr;
    return kBoardNames[index];
}

void FindLeaderboardByIndex(std::int32_t index)
{
    // An index outside the table fails like a search that found nothing, so an upload that
    // follows cannot reach the board found before.
    if (gSteamLeaderboards)
        gSteamLeaderboards->FindLeaderboard(GetLeaderboardBoardName(index));
}

bool IsSteamRequestPending()
{
    return (gSteamRemoteStorage && gSteamRemoteStorage->IsBusy()) ||
           (gSteamLeaderboards && gSteamLeaderboards->IsBusy());
}
