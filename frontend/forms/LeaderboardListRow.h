/** @file LeaderboardListRow.h One row of the leaderboard list as the list view keeps it. */
#pragma once

#include <cstdint>
#include <string>

struct LeaderboardListRow
{
    std::int32_t Rank = 0;
    bool Replay = false;    ///< draws the replay icon
    bool Highlight = false; ///< the user's own entry: the name in gold
    std::string Name;
    std::int64_t Score = 0;
    std::string StageText;
    std::string DateText;
};
