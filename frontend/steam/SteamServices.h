/** @file SteamServices.h The process-wide leaderboard and remote-storage clients and the board table. */
#pragma once

#include <cstdint>

class CSteamLeaderboards;
class CSteamRemoteStorage;

/// Created by CreateSteamServices and never deleted; null until then (or when creation failed).
extern CSteamLeaderboards* gSteamLeaderboards;
extern CSteamRemoteStorage* gSteamRemoteStorage;

/// Number of boards; indices run 0 to kLeaderboardCount - 1.
constexpr std::int32_t kLeaderboardCount = 12;

/// Creates the leaderboard client, then the remote-storage client, replacing any made before.
void CreateSteamServices();
/// The board's platform name ("LB_QV_DEF_TRAINING", ...); null outside 0..11.
const char* GetLeaderboardBoardName(std::int32_t index);
/// Starts finding the board of that index when the leaderboard client exists.
void FindLeaderboardByIndex(std::int32_t index);
/// True while either client is busy; a missing client counts as not busy.
bool IsSteamRequestPending();
