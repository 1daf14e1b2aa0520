/** @file LeaderboardTest.cpp Keep-best uploads, ranks, ranges, friends, persistence and damaged or unwritable files. */
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <numeric>

#include <gmock/gmock.h>

#include "StoreFixture.h"
#include "os/Values.h"
#include "os/store/Friends.h"
#include "os/store/StoreFiles.h"
#include "os/store/User.h"

namespace os::store::test
{
namespace
{

using ostest::V;
constexpr std::uint64_t kSelf = 1000;

class LeaderboardTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        os::testing::SetStoreUser(kSelf, "me");
    }

    /// Entries of users 1..count with scores count*10 .. 10 (user n has rank n).
    static std::vector<os::testing::SeedEntry> Ranked(int count)
    {
        std::vector<os::testing::SeedEntry> entries;
        for (int n = 1; n <= count; ++n)
            entries.push_back({static_cast<std::uint64_t>(n), "user" + std::to_string(n), (count - n + 1) * 10, {n}});
        return entries;
    }

    std::vector<std::int32_t> DetailsOf(LeaderboardHandle board, std::uint64_t user)
    {
        for (const Row& row : Download(board, kRequestGlobal, 1, 1000).value_or(std::vector<Row>{}))
            if (row.user == user)
                return row.details;
        return {};
    }
    std::vector<std::int32_t> Ranks(LeaderboardHandle board, LeaderboardDataRequest kind, std::int32_t start,
                                    std::int32_t end)
    {
        std::vector<std::int32_t> out;
        for (const Row& row : Download(board, kind, start, end).value_or(std::vector<Row>{}))
            out.push_back(row.rank);
        return out;
    }
};

std::vector<std::int32_t> Words(std::int32_t first)
{
    std::vector<std::int32_t> words(61);
    std::iota(words.begin(), words.end(), first);
    return words;
}

TEST_F(LeaderboardTest, KeepBestReplacesOnlyWithAHigherScoreAndItsWordsAndTiesRankTheEarlierUploadFirst)
{
    const LeaderboardHandle board = Find("LB");
    // The score and how it is uploaded; then the score kept, the first of its words and whether it changed.
    const std::tuple<std::int32_t, LeaderboardUploadMethod, std::int32_t, std::int32_t, std::uint8_t> steps[] = {
        {100, kUploadKeepBest, 100, 1, 1},  // a new entry
        {50, kUploadKeepBest, 100, 1, 0},   // lower: kept, still a success
        {100, kUploadKeepBest, 100, 1, 0},  // equal: kept
        {150, kUploadKeepBest, 150, 4, 1},  // higher: replaced with its words
        {20, kUploadForceUpdate, 20, 5, 1}, // forced
    };
    std::int32_t first = 1;
    for (const auto& [score, method, keptScore, keptFirstWord, changed] : steps) {
        const LeaderboardScoreUploaded result = Upload(board, score, Words(first++), method);
        EXPECT_EQ(V(result.success, result.scoreChanged, result.globalRankNew), V(1, changed, 1));
        EXPECT_EQ(Download(board, kRequestGlobal, 1, 10), (std::vector<Row>{{kSelf, 1, keptScore}}));
        EXPECT_EQ(DetailsOf(board, kSelf), Words(keptFirstWord));
    }

    // Equal scores rank the earlier upload first.
    ASSERT_TRUE(os::testing::SeedLeaderboard("TIE", {{1, "a", 50, {}}, {2, "b", 70, {}}, {3, "c", 50, {}}}));
    const LeaderboardHandle tie = Find("TIE");
    EXPECT_EQ(Upload(tie, 50).globalRankNew, 4);
    EXPECT_EQ(Download(tie, kRequestGlobal, 1, 10),
              (std::vector<Row>{{2, 1, 70}, {1, 2, 50}, {3, 3, 50}, {kSelf, 4, 50}}));
    // A better score is a new upload: it ranks after the entries it ties with.
    ASSERT_TRUE(os::testing::SeedLeaderboard("TIE", {{1, "a", 60, {}}}));
    Upload(tie, 60);
    EXPECT_EQ(Download(tie, kRequestGlobal, 1, 3), (std::vector<Row>{{2, 1, 70}, {1, 2, 60}, {kSelf, 3, 60}}));
}

TEST_F(LeaderboardTest, RangesGlobalAroundTheUserAndFriendsWhoseEntriesStayUntilTheNextDownload)
{
    std::vector<os::testing::SeedEntry> entries = Ranked(20);
    entries[9].user = kSelf; // the user holds rank 10
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB", entries));
    os::testing::SetStoreFriends({3, 15, 999});
    const LeaderboardHandle board = Find("LB");
    EXPECT_EQ(stats->GetLeaderboardEntryCount(board), 20);
    EXPECT_EQ((std::vector<std::vector<std::int32_t>>{
                  Ranks(board, kRequestGlobal, 1, 3), Ranks(board, kRequestGlobal, 16, 26),
                  Ranks(board, kRequestGlobal, -5, 1), Ranks(board, kRequestGlobal, 30, 40),
                  Ranks(board, kRequestGlobal, 5, 4), Ranks(board, kRequestGlobalAroundUser, -4, 5),
                  Ranks(board, kRequestFriends, 0, 0)}),
              (std::vector<std::vector<std::int32_t>>{
                  {1, 2, 3}, {16, 17, 18, 19, 20}, {1}, {}, {}, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {3, 10, 15}}));
    EXPECT_EQ(Ranks(board, kRequestGlobalAroundUser, INT32_MIN, INT32_MAX).size(), 20u);

    // Near the top the range is cut at rank 1.
    std::vector<os::testing::SeedEntry> top = Ranked(20);
    top[1].user = kSelf;
    ASSERT_TRUE(os::testing::SeedLeaderboard("TOP", top));
    EXPECT_EQ(Ranks(Find("TOP"), kRequestGlobalAroundUser, -4, 5), (std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}));

    // Without an entry of the user there is nothing around it.
    ASSERT_TRUE(os::testing::SeedLeaderboard("NONE", Ranked(5)));
    EXPECT_EQ(Download(Find("NONE"), kRequestGlobalAroundUser, -4, 5), std::vector<Row>{});

    // Downloaded entries stay until the next download.
    ASSERT_TRUE(os::testing::SeedLeaderboard("THREE", Ranked(3)));
    const LeaderboardHandle three = Find("THREE");
    Catcher<LeaderboardScoresDownloaded> first, second;
    first.Wait(stats->DownloadLeaderboardEntries(three, kRequestGlobal, 1, 10));
    Pump();
    ASSERT_EQ(first.last->entryCount, 3);
    LeaderboardEntry entry;
    std::int32_t words[2] = {-1, -1};
    ASSERT_TRUE(stats->GetDownloadedLeaderboardEntry(first.last->entries, 2, &entry, words, 2));
    EXPECT_EQ(V(entry.user, entry.details, words[0], words[1]), V(3, 1, 3, -1)); // only the stored words are copied
    const auto get = [&](const Catcher<LeaderboardScoresDownloaded>& from, std::int32_t index) {
        return stats->GetDownloadedLeaderboardEntry(from.last->entries, index, &entry, nullptr, 0);
    };
    EXPECT_FALSE(get(first, 3) || get(first, -1));
    second.Wait(stats->DownloadLeaderboardEntries(three, kRequestGlobal, 1, 1));
    Pump();
    EXPECT_EQ(V(get(first, 0), get(second, 0)), V(false, true));
}

TEST_F(LeaderboardTest, EverythingPersistsAcrossRunsFailedWritesKeepTheOldFileAndDamagedOnesAreSetAside)
{
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB_QV_DEF_EASY", {{7, "seven", 500, {1, 2}}}));
    const LeaderboardHandle board = Find("LB_QV_DEF_EASY");
    Upload(board, 300, Words(9));
    Restart();
    EXPECT_EQ((std::pair{GetUser()->GetUserId(), std::string(GetFriends()->GetPersonaName())}),
              std::pair(kSelf, std::string("me")));
    const LeaderboardHandle again = Find("LB_QV_DEF_EASY");
    EXPECT_EQ(Download(again, kRequestGlobal, 1, 10), (std::vector<Row>{{7, 1, 500}, {kSelf, 2, 300}}));
    EXPECT_EQ(DetailsOf(again, kSelf), Words(9));
    EXPECT_EQ(std::pair(std::string(GetFriends()->GetFriendPersonaName(7)),
                        std::string(GetFriends()->GetFriendPersonaName(8))),
              std::pair(std::string("seven"), std::string()));
    // Ties keep their order across runs.
    Upload(again, 500);
    Restart();
    EXPECT_EQ(Download(Find("LB_QV_DEF_EASY"), kRequestGlobal, 1, 10),
              (std::vector<Row>{{7, 1, 500}, {kSelf, 2, 500}}));

    // A failed write keeps the old file and the old entry.
    const LeaderboardHandle written = Find("WRITTEN");
    ASSERT_EQ(Upload(written, 100, Words(1)).success, 1);
    const std::string path = dir.File(BoardFileName("WRITTEN"));
    const std::string before = korvane::test::TempDir::Read(path);
    const auto files = [&] { return std::distance(std::filesystem::directory_iterator(dir.Path()), {}); };
    const auto filesBefore = files();

    // A real write failure: files may not grow past 64 bytes for a moment.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    Catcher<LeaderboardScoreUploaded> upload;
    upload.Wait(stats->UploadLeaderboardScore(written, kUploadKeepBest, 200, Words(2).data(), 61));
    Pump();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    // No temporary file is left behind.
    EXPECT_EQ(std::tuple(upload.count, upload.failed, korvane::test::TempDir::Read(path), files()),
              std::tuple(1, true, before, filesBefore));
    EXPECT_EQ(Download(written, kRequestGlobal, 1, 10), (std::vector<Row>{{kSelf, 1, 100}}));
    EXPECT_EQ(DetailsOf(written, kSelf), Words(1));
    EXPECT_THAT(log.empty() ? "" : log.back(), ::testing::HasSubstr("cannot write"));
    // The next upload goes through.
    EXPECT_EQ(Upload(written, 200, Words(2)).scoreChanged, 1);

    // Damaged files are set aside, never overwritten.
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB", Ranked(2)));
    const std::string lbPath = dir.File(BoardFileName("LB"));
    const std::string good = korvane::test::TempDir::Read(lbPath);
    auto withCount = [&](std::uint32_t count) {
        std::string bytes = good;
        const std::size_t at = 4 + 4 + 4 + 2 + 4 + 4 + 8; // magic, version, name, sort, display, counter
        for (int i = 0; i < 4; ++i)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((count >> (8 * i)) & 0xFF);
        return bytes;
    };
    const std::string damaged[] = {
        "garbage",    good.substr(0, good.size() - 3),
        good + "x",   withCount(0xFFFFFFFFu),
        withCount(3), "KSLB" + std::string("\x01\0\0\0\x02\0\0\0LX", 10) + good.substr(14),
    };
    int round = 0;
    for (const std::string& bytes : damaged) {
        SCOPED_TRACE(round);
        dir.Write(BoardFileName("LB"), bytes);
        Restart();
        log.clear();
        const LeaderboardHandle damagedBoard = Find("LB");
        ASSERT_NE(damagedBoard, 0u);
        EXPECT_THAT(log, ::testing::ElementsAre(::testing::HasSubstr("damaged")));
        const std::string aside = lbPath + ".corrupt" + (round == 0 ? std::string() : std::to_string(round));
        EXPECT_EQ(std::pair(korvane::test::TempDir::Read(aside), stats->GetLeaderboardEntryCount(damagedBoard)),
                  std::pair(bytes, 0));
        EXPECT_EQ((std::pair{Upload(damagedBoard, 5).success, korvane::test::TempDir::Read(aside)}),
                  std::pair(std::uint8_t{1}, bytes));
        ++round;
    }
    // A damaged user file is set aside too, and a new user is made.
    dir.Write(kUserFileName, "KSUS\x01");
    Restart();
    EXPECT_TRUE(GetUser()->GetUserId() != 0 &&
                std::filesystem::exists(dir.File(std::string(kUserFileName) + ".corrupt")));
}

} // namespace
} // namespace os::store::test
