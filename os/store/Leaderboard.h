/** @file Leaderboard.h One board: each user's best score with its detail words, kept in rank order. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "os/store/StoreTypes.h"

namespace os::store
{

/// One user's entry as stored.
struct LeaderboardRow
{
    std::uint64_t user = 0;
    std::int32_t score = 0;
    std::uint64_t sequence = 0; ///< upload order; an earlier upload ranks first among equal scores
    std::vector<std::int32_t> details;
    std::string name; ///< the user's name when the score was uploaded
};

class Leaderboard
{
public:
    /// What an upload changed, enough to take it back when the file cannot be written.
    struct UploadOutcome
    {
        bool changed = false;
        std::int32_t rankNew = 0;
        std::int32_t rankPrevious = 0; ///< 0: the user had no entry
        bool hadOld = false;
        LeaderboardRow old;
        std::size_t newIndex = 0;
        std::uint64_t sequenceBefore = 0;
    };

    Leaderboard(std::string name, LeaderboardSortMethod sort, LeaderboardDisplayType display);

    const std::string& GetName() const { return name_; }
    LeaderboardSortMethod GetSortMethod() const { return sort_; }
    LeaderboardDisplayType GetDisplayType() const { return display_; }
    const std::vector<LeaderboardRow>& GetRows() const { return rows_; }
    /// Rank order index of the user's entry, or -1.
    std::ptrdiff_t FindUser(std::uint64_t user) const;

    /// Keep-best replaces the entry only with a better score; force always replaces it.
    /// A new entry is made when the user has none.
    UploadOutcome Upload(std::uint64_t user, const std::string& name, std::int32_t score,
                         std::vector<std::int32_t> details, bool force);
    /// Takes back a changing upload (the last one made).
    void Undo(UploadOutcome& outcome);
    /// Adds or replaces an entry without the keep-best rule (seeding).
    void Put(LeaderboardRow row);

    std::string Encode() const;
    /// Throws std::runtime_error when the bytes are not a well-formed board named `name`.
    static Leaderboard Decode(const std::string& bytes, const std::string& name);

private:
    bool Better(std::int32_t a, std::int32_t b) const;
    std::size_t InsertSorted(LeaderboardRow row);

    std::string name_;
    LeaderboardSortMethod sort_;
    LeaderboardDisplayType display_;
    std::uint64_t nextSequence_ = 1;
    std::vector<LeaderboardRow> rows_;
};

} // namespace os::store
