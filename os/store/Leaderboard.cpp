/** @file Leaderboard.cpp Ranking, keep-best uploads and the board file's encoding. */
#include "os/store/Leaderboard.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

#include "os/store/ByteReader.h"
#include "os/store/ByteWriter.h"
#include "os/store/StoreFiles.h"

namespace os::store
{

namespace
{

constexpr char kMagic[4] = {'K', 'S', 'L', 'B'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kMaxRows = 1u << 20;
constexpr std::size_t kMaxNameLength = 255;
// user, score, sequence, detail count, name length
constexpr std::size_t kMinRowSize = 8 + 4 + 8 + 4 + 4;

} // namespace

Leaderboard::Leaderboard(std::string name, LeaderboardSortMethod sort, LeaderboardDisplayType display)
    : name_(std::move(name)), sort_(sort), display_(display)
{}

bool Leaderboard::Better(std::int32_t a, std::int32_t b) const
{
    return sort_ == kSortAscending ? a < b : a > b;
}

std::ptrdiff_t Leaderboard::FindUser(std::uint64_t user) const
{
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].user == user)
            return static_cast<std::ptrdiff_t>(i);
    return -1;
}

std::size_t Leaderboard::InsertSorted(LeaderboardRow row)
{
    const auto at =
        std::upper_bound(rows_.begin(), rows_.end(), row, [this](const LeaderboardRow& a, const LeaderboardRow& b) {
            if (a.score != b.score)
                return Better(a.score, b.score);
            return a.sequence < b.sequence;
        });
    const std::size_t index = static_cast<std::size_t>(at - rows_.begin());
    rows_.insert(at, std::move(row));
    return index;
}

Leaderboard::UploadOutcome Leaderboard::Upload(std::uint64_t user, const std::string& name, std::int32_t score,
                                               std::vector<std::int32_t> details, bool force)
{
    UploadOutcome outcome;
    outcome.sequenceBefore = nextSequence_;
    const std::ptrdiff_t found = FindUser(user);
    if (found >= 0) {
        outcome.rankPrevious = static_cast<std::int32_t>(found + 1);
        if (!force && !Better(score, rows_[static_cast<std::size_t>(found)].score)) {
            outcome.rankNew = outcome.rankPrevious;
            return outcome;
        }
        outcome.hadOld = true;
        outcome.old = std::move(rows_[static_cast<std::size_t>(found)]);
        rows_.erase(rows_.begin() + found);
    }
    LeaderboardRow row;
    row.user = user;
    row.score = score;
    row.sequence = nextSequence_++;
    row.details = std::move(details);
    row.name = CutUtf8(name, kMaxNameLength);
    outcome.newIndex = InsertSorted(std::move(row));
    outcome.changed = true;
    outcome.rankNew = static_cast<std::int32_t>(outcome.newIndex + 1);
    return outcome;
}

void Leaderboard::Undo(UploadOutcome& outcome)
{
    if (!outcome.changed)
        return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(outcome.newIndex));
    if (outcome.hadOld)
        InsertSorted(std::move(outcome.old));
    nextSequence_ = outcome.sequenceBefore;
    outcome.changed = false;
}

void Leaderboard::Put(LeaderboardRow row)
{
    const std::ptrdiff_t found = FindUser(row.user);
    if (found >= 0)
        rows_.erase(rows_.begin() + found);
    row.sequence = nextSequence_++;
    row.name = CutUtf8(row.name, kMaxNameLength);
    if (row.details.size() > static_cast<std::size_t>(kMaxLeaderboardDetails))
        row.details.resize(static_cast<std::size_t>(kMaxLeaderboardDetails));
    InsertSorted(std::move(row));
}

std::string Leaderboard::Encode() const
{
    ByteWriter out;
    std::size_t size = 64 + name_.size();
    for (const LeaderboardRow& row : rows_)
        size += kMinRowSize + row.details.size() * 4 + row.name.size();
    out.Reserve(size);
    out.Raw(kMagic, sizeof(kMagic));
    out.U32(kVersion);
    out.String(name_);
    out.I32(sort_);
    out.I32(display_);
    out.U64(nextSequence_);
    out.U32(static_cast<std::uint32_t>(rows_.size()));
    for (const LeaderboardRow& row : rows_) {
        out.U64(row.user);
        out.I32(row.score);
        out.U64(row.sequence);
        out.U32(static_cast<std::uint32_t>(row.details.size()));
        for (std::int32_t word : row.details)
            out.I32(word);
        out.String(row.name);
    }
    return out.Bytes();
}

Leaderboard Leaderboard::Decode(const std::string& bytes, const std::string& name)
{
    ByteReader in(bytes);
    in.Expect(kMagic, sizeof(kMagic));
    const std::uint32_t version = in.ReadU32();
    if (version != kVersion)
        throw std::runtime_error("unknown version " + std::to_string(version));
    const std::string stored = in.ReadString(kMaxLeaderboardNameLength);
    if (stored != name)
        throw std::runtime_error("the file holds board '" + stored + "'");
    const std::int32_t sort = in.ReadI32();
    const std::int32_t display = in.ReadI32();
    if (sort != kSortAscending && sort != kSortDescending)
        throw std::runtime_error("unknown sort method " + std::to_string(sort));
    if (display < kDisplayNumeric || display > kDisplayTimeMilliseconds)
        throw std::runtime_error("unknown display type " + std::to_string(display));
    Leaderboard board(stored, static_cast<LeaderboardSortMethod>(sort), static_cast<LeaderboardDisplayType>(display));
    board.nextSequence_ = in.ReadU64();
    const std::uint32_t count = in.ReadCount(kMaxRows, kMinRowSize);
    board.rows_.reserve(count);
    std::unordered_set<std::uint64_t> users;
    users.reserve(count);
    // Upload numbers rank equal scores: two rows with one number have no order of their own.
    std::unordered_set<std::uint64_t> sequences;
    sequences.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        LeaderboardRow row;
        row.user = in.ReadU64();
        row.score = in.ReadI32();
        row.sequence = in.ReadU64();
        const std::uint32_t words = in.ReadCount(static_cast<std::uint32_t>(kMaxLeaderboardDetails), 4);
        row.details.resize(words);
        for (std::int32_t& word : row.details)
            word = in.ReadI32();
        row.name = in.ReadString(kMaxNameLength);
        if (!users.insert(row.user).second)
            throw std::runtime_error("user " + std::to_string(row.user) + " has two entries");
        if (row.sequence >= board.nextSequence_)
            throw std::runtime_error("entry order beyond the board's counter");
        if (!sequences.insert(row.sequence).second)
            throw std::runtime_error("two entries share upload number " + std::to_string(row.sequence));
        board.rows_.push_back(std::move(row));
    }
    in.ExpectEnd();
    // Rank order comes from the data, never from the file's order.
    std::stable_sort(board.rows_.begin(), board.rows_.end(),
                     [&board](const LeaderboardRow& a, const LeaderboardRow& b) {
                         if (a.score != b.score)
                             return board.Better(a.score, b.score);
                         return a.sequence < b.sequence;
                     });
    return board;
}

} // namespace os::store
