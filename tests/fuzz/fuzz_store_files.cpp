/** @file fuzz_store_files.cpp The local store's files (user, achievements, board) on any bytes: each that
 * decodes encodes back to what decodes the same. */
#include <optional>
#include <set>
#include <stdexcept>

#include "FuzzSupport.h"
#include "os/store/Leaderboard.h"
#include "os/store/StoreFiles.h"

namespace os::store
{
static bool operator==(const LeaderboardRow& a, const LeaderboardRow& b)
{
    return a.user == b.user && a.score == b.score && a.sequence == b.sequence && a.details == b.details &&
           a.name == b.name;
}
} // namespace os::store

namespace
{

/// The board the seeds were written for (a board file holds its own name).
const char* const kBoard = "HighScore";

/// What `decode` makes of the bytes, or nothing when it refuses them.
template <class Decode>
auto Decoded(Decode decode) -> std::optional<decltype(decode())>
{
    try {
        return decode();
    } catch (const std::runtime_error&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    using namespace os::store;
    if (const auto user = Decoded([&] { return DecodeUser(bytes); })) {
        fuzz::Check(user->id != 0, "a user with id 0");
        fuzz::Check(EncodeUser(*user) == bytes, "a user file encodes back differently");
    }
    if (const auto records = Decoded([&] { return DecodeAchievements(bytes); })) {
        for (const AchievementRecord& record : *records)
            fuzz::Check(IsValidAchievementId(record.id), "an invalid achievement id was accepted");
        fuzz::Check(EncodeAchievements(*records) == bytes, "an achievement file encodes back differently");
    }
    if (const auto board = Decoded([&] { return Leaderboard::Decode(bytes, kBoard); })) {
        fuzz::Check(board->GetRows().size() * 28 <= bytes.size(), "more rows than the file can hold");
        std::set<std::uint64_t> sequences;
        for (const LeaderboardRow& row : board->GetRows())
            fuzz::Check(sequences.insert(row.sequence).second, "two rows share one upload number");
        const std::string encoded = board->Encode();
        const Leaderboard again = Leaderboard::Decode(encoded, kBoard);
        fuzz::Check(again.GetRows() == board->GetRows() && again.GetSortMethod() == board->GetSortMethod() &&
                        again.GetDisplayType() == board->GetDisplayType(),
                    "a board encodes back to another");
        fuzz::Check(again.Encode() == encoded, "a board's encoding is not stable");
    }
    return 0;
}
