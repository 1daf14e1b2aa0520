/** @file LeaderboardRecord.h One score with what travels with it: an upload request or a downloaded row. */
#pragma once

#include <cstdint>

/// Plain data, copied whole between the game thread and the upload job.
struct LeaderboardRecord
{
    std::uint64_t UserId;    ///< owner of a downloaded row
    char Name[16];           ///< owner's name, NUL-terminated, at most 15 bytes
    std::int32_t Rank;       ///< global rank from 1 (downloaded rows)
    std::int32_t BoardIndex; ///< 0 to 11 (upload requests)
    std::int32_t Score;
    std::int32_t Progress;        ///< stage, area or phase code of the game
    std::int32_t Word1;           ///< 1 in every request
    std::int32_t Word2;           ///< 0 in every request
    std::uint64_t UploadTime;     ///< UTC, 100-ns units since 1601-01-01
    std::uint8_t SmallValues[10]; ///< 0 to 15 each
    std::int32_t Extra[52];
};
