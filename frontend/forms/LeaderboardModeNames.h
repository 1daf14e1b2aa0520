/** @file LeaderboardModeNames.h The game-mode names of the boards, as the chooser lists them and the list view names them. */
#pragma once

#include <cstdint>

/// Main game, by mode and board index 0 to 9.
inline constexpr const char* kMainGameModeNames[10] = {
    "TRAINING (DEFAULT)", "EASY (DEFAULT)", "NORMAL (DEFAULT)", "HARD (DEFAULT)", "SPECIAL (DEFAULT)",
    "TRAINING (SPECIAL)", "EASY (SPECIAL)", "NORMAL (SPECIAL)", "HARD (SPECIAL)", "SPECIAL (SPECIAL)",
};
/// Companion game, by mode (board index 10 + mode).
inline constexpr const char* kCompanionGameModeNames[2] = {"TRIAL", "NORMAL"};

/// The chooser's titles, by title index.
inline constexpr const char* kLeaderboardTitleNames[2] = {"VORTHENIX ZAMBRELLIOT", "TESSARIL VORN"};

/// The first board of the companion game.
inline constexpr std::int32_t kCompanionFirstBoard = 10;
