/** @file fuzz_store_files.cpp The local store's files (user, achievements, board) on any bytes: each that
 * decodes encodes back to what decodes the same. */
#include <memory>
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

void User(const std::string& bytes)
{
    os::store::UserRecord user;
    try {
        user = os::store::DecodeUser(bytes);
    } catch (const std::runtime_error&) {
        return;
    }
    fuzz::Check(user.id != 0, "a user with id 0");
    fuzz::Check(os::store::EncodeUser(user) == bytes, "a user file encodes back differently");
}

void Achievements(const std::string& bytes)
{
    std::vector<os::store::AchievementRecord> records;
    try {
        records = os::store::DecodeAchievements(bytes);
    } catch (const std::runtime_error&) {
        return;
    }
    for (const os::store::AchievementRecord& record : records)
        fuzz::Check(os::store::IsValidAchievementId(record.id), "an invalid achievement id was accepted");
    fuzz::Check(os::store::EncodeAchievements(records) == bytes, "an achievement file encodes back differently");
}

void Board(const std::string& bytes)
{
    std::unique_ptr<os::store::Leaderboard> board;
    try {
        board = std::make_unique<os::store::Leaderboard>(os::store::Leaderboard::Decode(bytes, kBoard));
    } catch (const std::runtime_error&) {
        return;
    }
    fuzz::Check(board->GetRows().size() * 28 <= bytes.size(), "more rows than the file can hold");
    const std::string encoded = board->Encode();
    const os::store::Leaderboard again = os::store::Leaderboard::Decode(encoded, kBoard);
    fuzz::Check(again.GetRows() == board->GetRows() && again.GetSortMethod() == board->GetSortMethod() &&
                    again.GetDisplayType() == board->GetDisplayType(),
                "a board encodes back to another");
    fuzz::Check(again.Encode() == encoded, "a board's encoding is not stable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    User(bytes);
    Achievements(bytes);
    Board(bytes);
    return 0;
}
