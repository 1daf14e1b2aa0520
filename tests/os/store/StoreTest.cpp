/** @file StoreTest.cpp The store over a temporary save folder: the service's life cycle, the pump, the result
 * holders and injected failures; statistics, achievements, names, friends and the game language; keep-best uploads,
 * ranks, ranges, persistence and damaged or unwritable files. */
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <stdexcept>

#include <gmock/gmock.h>

#include "StoreFixture.h"
#include "os/Values.h"
#include "os/store/Apps.h"
#include "os/store/Friends.h"
#include "os/store/StoreFiles.h"
#include "os/store/User.h"
#include "os/store/Utils.h"
#include "support/NamedPipe.h"

namespace os::store::test
{
namespace
{

using os::testing::StoreFailure;
using os::testing::StoreRequest;
using ostest::V;
using StatsTest = StoreFixture;
using StoreRegressionTest = StoreFixture;

TEST_F(StoreFixture, ResultsArriveOnceInOrderMalformedAndInjectedRequestsFailShutdownDropsWhatIsPendingAndDebugIsQuiet)
{
    Catcher<LeaderboardFindResult> find;
    find.Wait(FindCall("BOARD"));
    EXPECT_EQ(V(find.holder.IsActive(), find.count), V(true, 0));
    Pump(2);
    ASSERT_EQ(find.count, 1);
    EXPECT_EQ(V(find.failed, find.holder.IsActive(), find.last->found, find.last->leaderboard != 0),
              V(false, false, 1, true));
    // The same name gives the same handle.
    EXPECT_EQ(Find("BOARD"), find.last->leaderboard);
    EXPECT_NE(Find("OTHER"), find.last->leaderboard);

    // Delayed results arrive in completion order, each once.
    Catcher<LeaderboardFindResult> slow, fast;
    os::testing::DelayStoreResults(2);
    slow.Wait(FindCall("A"));
    os::testing::DelayStoreResults(0);
    fast.Wait(FindCall("B"));
    for (const auto& expected : {V(0, 1), V(0, 1), V(1, 1)}) {
        Pump();
        EXPECT_EQ(V(slow.count, fast.count), expected);
    }

    // Cancelled, replaced, unregistered and destroyed holders hear nothing.
    Catcher<LeaderboardFindResult> cancelled, replaced;
    cancelled.Wait(FindCall("A")).holder.Cancel();
    replaced.Wait(FindCall("B")).Wait(FindCall("C"));
    auto listener = std::make_unique<Listener<UserStatsReceived>>();
    ASSERT_TRUE(stats->RequestCurrentStats());
    listener->holder.Unregister();
    Catcher<LeaderboardFindResult>().Wait(FindCall("D"));
    Pump();
    EXPECT_EQ(V(cancelled.count, replaced.count, listener->heard.size()), V(0, 1, 0)); // only the second request's

    // Malformed requests and a logged-off user fail at once.
    const LeaderboardHandle board = Find("BOARD");
    std::int32_t words[65] = {};
    LeaderboardEntry entry;
    EXPECT_EQ(V(stats->UploadLeaderboardScore(board + 100, kUploadKeepBest, 1, words, 61),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, 65),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, words, -1),
                stats->UploadLeaderboardScore(board, kUploadNone, 1, words, 61),
                stats->UploadLeaderboardScore(board, kUploadKeepBest, 1, nullptr, 61),
                stats->DownloadLeaderboardEntries(board, static_cast<LeaderboardDataRequest>(3), 1, 10),
                stats->DownloadLeaderboardEntries(0, kRequestGlobal, 1, 10), FindCall(nullptr),
                stats->GetLeaderboardEntryCount(board + 100),
                stats->GetDownloadedLeaderboardEntry(12345, 0, &entry, nullptr, 0)),
              V(0, 0, 0, 0, 0, 0, 0, 0, 0, false));
    // Names and settings the service cannot keep are "not found".
    for (const auto& [name, sort] : std::vector<std::pair<std::string, LeaderboardSortMethod>>{
             {"", kSortDescending}, {std::string(129, 'A'), kSortDescending}, {"X", kSortNone}}) {
        Catcher<LeaderboardFindResult> find;
        find.Wait(FindCall(name.c_str(), sort));
        Pump();
        EXPECT_EQ(V(find.count, find.last ? find.last->found : 1), V(1, 0));
    }
    // Shutdown drops pending results; a throwing handler does not stop the pump; injected failures.
    Catcher<LeaderboardFindResult> pending, next;
    Listener<UserStatsReceived> received;
    pending.Wait(FindCall("A"));
    ASSERT_TRUE(stats->RequestCurrentStats());
    Restart();
    Pump(3);
    EXPECT_EQ(V(pending.count, received.heard.size()), V(0, 0));
    // Call handles are never reused, so the old holder cannot catch a new result.
    next.Wait(FindCall("A"));
    Pump();
    EXPECT_EQ(V(next.count, pending.count), V(1, 0));

    struct Thrower
    {
        void On(const LeaderboardFindResult*, bool) { throw std::runtime_error("handler"); }
        CallResult<Thrower, LeaderboardFindResult> holder;
    } thrower;
    thrower.holder.Set(FindCall("T"), &thrower, &Thrower::On);
    EXPECT_THROW(Pump(), std::runtime_error);
    EXPECT_NE(Find("T"), 0u);

    // Injected failures of the board requests are the leaderboard client's cases; each injection is used once.
    const LeaderboardHandle target = Find("BOARD");
    os::testing::FailNextStoreRequest(StoreRequest::UploadScore, StoreFailure::Refused);
    EXPECT_EQ((std::vector<std::int32_t>{Upload(target, 10).success, stats->GetLeaderboardEntryCount(target),
                                         Upload(target, 5).success}),
              (std::vector<std::int32_t>{0, 0, 1})); // braced: in order

    // Injected statistics codes, and the display texts.
    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::ResultCode, 2);
    EXPECT_EQ(Receive(), 2);
    bool achieved = false;
    EXPECT_FALSE(stats->GetAchievement("ACH_A", &achieved));
    os::testing::FailNextStoreRequest(StoreRequest::RequestStats, StoreFailure::NoHandle);
    EXPECT_EQ(Receive(), 0);
    ASSERT_EQ(Receive(), kResultOk);

    // Defined texts and the identifier for an undefined name are the achievement client's cases; the rest is empty.
    os::testing::SetAchievementDisplay("ACH_A", "First", "The first one");
    EXPECT_EQ(std::pair(std::string(stats->GetAchievementDisplayAttribute("ACH_A", "icon")),
                        std::string(stats->GetAchievementDisplayAttribute("ACH_B", "desc"))),
              std::pair(std::string(), std::string()));

    // A logged-off user gets no statistics and no boards.
    os::testing::SetStoreLoggedOn(false);
    EXPECT_FALSE(GetUser()->IsLoggedOn() || stats->RequestCurrentStats());
    EXPECT_EQ(FindCall("A"), 0u);

    // Debug output is silent unless switched on or captured.
    unsetenv("KORVANE_STORE_DEBUG");
    ::testing::internal::CaptureStderr();
    DebugOutput("quiet\n");
    setenv("KORVANE_STORE_DEBUG", "1", 1);
    DebugOutput("loud\n");
    unsetenv("KORVANE_STORE_DEBUG");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "loud\n");

    // What a capture receives is the leaderboard and achievement clients' cases; nothing is no text.
    os::testing::CaptureStoreDebugOutput([](const std::string&) { ADD_FAILURE(); });
    DebugOutput(nullptr);
}

TEST_F(StatsTest, AchievementsUserIdNamesTheLanguageAndTheInterfacesLifeFollowTheService)
{
    bool achieved = true;
    EXPECT_FALSE(stats->SetAchievement("ACH_A") || stats->GetAchievement("ACH_A", &achieved) || stats->StoreStats());
    EXPECT_STREQ(stats->GetAchievementDisplayAttribute("ACH_A", "name"), "");

    Listener<UserStatsReceived> received;
    ASSERT_TRUE(stats->RequestCurrentStats());
    Pump();
    const UserStatsReceived& r = received.heard.at(0);
    EXPECT_EQ(V(received.heard.size(), r.result, r.gameId, r.user),
              V(1, kResultOk, kLocalAppId, GetUser()->GetUserId()));
    EXPECT_TRUE(stats->GetAchievement("ACH_A", &achieved) && !achieved);
    EXPECT_FALSE(stats->GetAchievement("bad id!", &achieved) || stats->SetAchievement(""));

    // A failed store reports its code and keeps the unlocks waiting; storing then reports each new achievement once.
    // That they persist is the regression case's.
    Listener<UserStatsStored> stored;
    Listener<UserAchievementStored> achievements;
    for (const char* id : {"ACH_A", "ACH_B", "ACH_A"})
        EXPECT_TRUE(stats->SetAchievement(id));
    os::testing::FailNextStoreRequest(StoreRequest::StoreStats, StoreFailure::ResultCode, 5);
    EXPECT_TRUE(stats->StoreStats());
    Pump();
    EXPECT_EQ(V(stored.heard.size(), stored.heard.at(0).result, achievements.heard.size()), V(1, 5, 0));
    EXPECT_TRUE(stats->StoreStats() && stats->StoreStats());
    Pump();
    ASSERT_EQ(V(stored.heard.size(), achievements.heard.size()), V(3, 2));
    EXPECT_EQ(std::tuple(stored.heard[1].result, std::string(achievements.heard[0].achievementName),
                         std::string(achievements.heard[1].achievementName)),
              std::tuple(kResultOk, std::string("ACH_A"), std::string("ACH_B")));

    // The user id is made once and kept; names of the user and the friends; the game language.
    const std::uint64_t id = GetUser()->GetUserId();
    EXPECT_TRUE(id != 0 && *GetFriends()->GetPersonaName());
    Restart();
    EXPECT_EQ(GetUser()->GetUserId(), id);

    // Names of the user and the friends.
    os::testing::SetStoreUser(42, "me");
    os::testing::SetStoreUserName(7, "seven");
    os::testing::SetStoreFriends({7, 8});
    Friends* friends = GetFriends();
    EXPECT_EQ(V(friends->GetFriendCount(kFriendFlagImmediate), friends->GetFriendCount(1)), V(2, 0));
    EXPECT_EQ(V(friends->GetFriendByIndex(1, kFriendFlagImmediate), friends->GetFriendByIndex(2, kFriendFlagImmediate)),
              V(8, 0));
    EXPECT_EQ((std::vector<std::string>{friends->GetFriendPersonaName(42), friends->GetFriendPersonaName(7),
                                        friends->GetFriendPersonaName(8)}),
              (std::vector<std::string>{"me", "seven", ""}));

    // The game language comes from the setting, else the locale.
    const std::string saved = std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "";
    const char* const cases[][3] = {
        {"", "ja_JP.UTF-8", "japanese"}, {"", "en_GB.UTF-8", "english"},  {"", "", "english"},
        {"japanese", "C", "japanese"},   {"english", "ja_JP", "english"}, {"Japanese", "C", "english"}};
    for (const auto& [setting, locale, language] : cases) {
        SCOPED_TRACE(std::string(setting) + "/" + locale);
        setenv("LC_ALL", locale, 1);
        os::testing::SetStoreLanguage(setting);
        EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), language);
    }
    os::testing::SetStoreLanguage("japanese");
    Restart();
    EXPECT_STREQ(GetApps()->GetCurrentGameLanguage(), "japanese");
    setenv("LC_ALL", saved.c_str(), 1); // empty reads as unset
    // The stored setting is cut to its 32 bytes at a whole character, not inside one.
    os::testing::SetStoreLanguage(std::string(31, 'a') + "\xC3\xA9"); // 33 bytes, the last character two
    EXPECT_EQ(DecodeUser(korvane::test::TempDir::Read(dir.File(kUserFileName))).language, std::string(31, 'a'));

    // Stopped, the interfaces exist only while running again, and Init touches no file.
    Shutdown();
    korvane::test::TempDir fresh;
    EXPECT_FALSE(GetUserStats() || GetUser());
    ASSERT_TRUE(Init());
    ASSERT_TRUE(GetUserStats() && GetFriends() && GetApps());
    EXPECT_EQ(GetUtils()->GetAppId(), kLocalAppId);
    // Without a save folder the data lives in memory: nothing anywhere is written.
    EXPECT_TRUE(GetUser()->GetUserId() != 0 && GetUser()->IsLoggedOn());
    EXPECT_FALSE(std::filesystem::exists("store_user.dat"));
    SetSaveFolder(fresh.Path());
    EXPECT_TRUE(std::filesystem::is_empty(fresh.Path()));
    // The program's own paths may use backslashes.
    std::filesystem::create_directory(fresh.File("sub"));
    SetSaveFolder(fresh.Path() + "sub\\");
    GetUser()->GetUserId();
    EXPECT_TRUE(std::filesystem::exists(fresh.File("sub/store_user.dat")));
    Shutdown();
    EXPECT_EQ(GetUserStats(), nullptr);
    RunCallbacks(); // harmless when stopped
}

// The statistics can arrive before the program names the save folder. The achievements file
// of that folder was then never read: its achievements read as not achieved, and the next
// store wrote the file anew with the unlocks of this run only, losing the earlier ones.
TEST_F(StoreRegressionTest, StatisticsBeforeTheFolderKeepTheFolderAchievements)
{
    ASSERT_EQ(Receive(), kResultOk);
    ASSERT_TRUE(stats->SetAchievement("ACH_OLD") && stats->StoreStats());
    Pump();

    // The next run pumps once before its folder is known.
    Shutdown();
    ASSERT_TRUE(Init());
    stats = GetUserStats();
    ASSERT_EQ(Receive(), kResultOk);
    ASSERT_TRUE(stats->SetAchievement("ACH_EARLY"));
    SetSaveFolder(dir.Path());
    EXPECT_EQ(V(Achieved("ACH_OLD"), Achieved("ACH_EARLY")), V(true, true));

    ASSERT_TRUE(stats->SetAchievement("ACH_NEW") && stats->StoreStats()); // kept if the next run has it
    Pump();

    Restart();
    ASSERT_EQ(Receive(), kResultOk);
    EXPECT_EQ(V(Achieved("ACH_OLD"), Achieved("ACH_EARLY"), Achieved("ACH_NEW"), Achieved("ACH_NEVER")),
              V(true, true, true, false));
}

constexpr std::uint64_t kSelf = 1000;
constexpr const char* kEasy = "LB_QV_DEF_EASY";

std::vector<std::int32_t> Words(std::int32_t first)
{
    std::vector<std::int32_t> words(61);
    std::iota(words.begin(), words.end(), first);
    return words;
}

/// The store as the user kSelf, named "me".
class LeaderboardTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StoreFixture::SetUp());
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

    std::vector<std::int32_t> Ranks(LeaderboardHandle board, LeaderboardDataRequest kind, std::int32_t start,
                                    std::int32_t end)
    {
        std::vector<std::int32_t> out;
        for (const Row& row : Download(board, kind, start, end).value_or(std::vector<Row>{}))
            out.push_back(row.rank);
        return out;
    }

    /// User 7, "seven", holds 500 on the easy board; the user uploads 300 with its words, and the program runs again.
    void UploadToTheEasyBoardAndRestart()
    {
        ASSERT_TRUE(os::testing::SeedLeaderboard(kEasy, {{7, "seven", 500, {1, 2}}}));
        const LeaderboardHandle easy = Find(kEasy);
        Upload(easy, 300, Words(9));
        Restart();
    }
};

TEST_F(LeaderboardTest, KeepBestUploadsKeepTheBetterScoreWithItsWordsAndForcedOnesReplaceIt)
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
    std::int32_t firstWord = 1;
    for (const auto& [score, method, keptScore, keptFirstWord, changed] : steps) {
        const LeaderboardScoreUploaded result = Upload(board, score, Words(firstWord++), method);
        EXPECT_EQ(V(result.success, result.scoreChanged, result.globalRankNew), V(1, changed, 1));
        EXPECT_EQ(Download(board, kRequestGlobal, 1, 10),
                  (std::vector<Row>{{kSelf, 1, keptScore, Words(keptFirstWord)}}));
    }
}

TEST_F(LeaderboardTest, EqualScoresRankTheEarlierUploadFirst)
{
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

TEST_F(LeaderboardTest, RangesGlobalAroundTheUserAndOfFriendsGiveTheirRanks)
{
    std::vector<os::testing::SeedEntry> entries = Ranked(20);
    entries[9].user = kSelf; // the user holds rank 10
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB", entries));
    os::testing::SetStoreFriends({3, 15, 999});
    const LeaderboardHandle ranked = Find("LB");
    EXPECT_EQ(stats->GetLeaderboardEntryCount(ranked), 20);
    EXPECT_EQ((std::vector<std::vector<std::int32_t>>{
                  Ranks(ranked, kRequestGlobal, 1, 3), Ranks(ranked, kRequestGlobal, 16, 26),
                  Ranks(ranked, kRequestGlobal, -5, 1), Ranks(ranked, kRequestGlobal, 30, 40),
                  Ranks(ranked, kRequestGlobal, 5, 4), Ranks(ranked, kRequestGlobalAroundUser, -4, 5),
                  Ranks(ranked, kRequestFriends, 0, 0)}),
              (std::vector<std::vector<std::int32_t>>{
                  {1, 2, 3}, {16, 17, 18, 19, 20}, {1}, {}, {}, {6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {3, 10, 15}}));
    EXPECT_EQ(Ranks(ranked, kRequestGlobalAroundUser, INT32_MIN, INT32_MAX).size(), 20u);
}

TEST_F(LeaderboardTest, AroundTheUserIsCutAtRankOneAndEmptyWithoutTheUsersEntry)
{
    std::vector<os::testing::SeedEntry> top = Ranked(20);
    top[1].user = kSelf;
    ASSERT_TRUE(os::testing::SeedLeaderboard("TOP", top) && os::testing::SeedLeaderboard("NONE", Ranked(5)));
    EXPECT_EQ(std::pair(Ranks(Find("TOP"), kRequestGlobalAroundUser, -4, 5),
                        Download(Find("NONE"), kRequestGlobalAroundUser, -4, 5)),
              std::pair(std::vector<std::int32_t>{1, 2, 3, 4, 5, 6, 7}, std::optional(std::vector<Row>{})));
}

TEST_F(LeaderboardTest, DownloadedEntriesStayUntilTheNextDownload)
{
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

TEST_F(LeaderboardTest, BoardsTheUserAndOtherUsersNamesPersistAcrossRuns)
{
    ASSERT_NO_FATAL_FAILURE(UploadToTheEasyBoardAndRestart());
    EXPECT_EQ((std::pair{GetUser()->GetUserId(), std::string(GetFriends()->GetPersonaName())}),
              std::pair(kSelf, std::string("me")));
    const LeaderboardHandle again = Find(kEasy);
    EXPECT_EQ(Download(again, kRequestGlobal, 1, 10),
              (std::vector<Row>{{7, 1, 500, {1, 2}}, {kSelf, 2, 300, Words(9)}}));
    EXPECT_EQ(std::pair(std::string(GetFriends()->GetFriendPersonaName(7)),
                        std::string(GetFriends()->GetFriendPersonaName(8))),
              std::pair(std::string("seven"), std::string()));
}

TEST_F(LeaderboardTest, TiesKeepTheirOrderAcrossRuns)
{
    ASSERT_NO_FATAL_FAILURE(UploadToTheEasyBoardAndRestart());
    Upload(Find(kEasy), 500);
    Restart();
    EXPECT_EQ(Download(Find(kEasy), kRequestGlobal, 1, 10), (std::vector<Row>{{7, 1, 500, {1, 2}}, {kSelf, 2, 500}}));
}

TEST_F(LeaderboardTest, AFailedWriteKeepsTheOldFileAndTheOldEntryAndLeavesNoTemporaryFile)
{
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
    EXPECT_EQ(Download(written, kRequestGlobal, 1, 10), (std::vector<Row>{{kSelf, 1, 100, Words(1)}}));
    EXPECT_THAT(log.empty() ? "" : log.back(), ::testing::HasSubstr("cannot write"));
    // The next upload goes through.
    EXPECT_EQ(Upload(written, 200, Words(2)).scoreChanged, 1);
}

TEST_F(LeaderboardTest, DamagedBoardFilesAreSetAsideNeverOverwritten)
{
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
    // Found by fuzzing: two rows share one upload number (the file's board renamed to this one).
    const std::string sharedUpload =
        good.substr(0, 14) +
        korvane::test::TempDir::Read(KORVANE_SOURCE_DIR "/tests/os/store/data/board-duplicate-upload.dat").substr(21);
    const std::string damaged[] = {
        "garbage",    good.substr(0, good.size() - 3),
        good + "x",   withCount(0xFFFFFFFFu),
        withCount(3), "KSLB" + std::string("\x01\0\0\0\x02\0\0\0LX", 10) + good.substr(14),
        sharedUpload,
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
}

TEST_F(LeaderboardTest, ADamagedUserFileIsSetAsideAndANewUserIsMade)
{
    dir.Write(kUserFileName, "KSUS\x01");
    Restart();
    EXPECT_TRUE(GetUser()->GetUserId() != 0 &&
                std::filesystem::exists(dir.File(std::string(kUserFileName) + ".corrupt")));
}

TEST_F(LeaderboardTest, AFolderOrANamedPipeInPlaceOfABoardFileIsRefusedWithItsReasonAndNeverWaitedOn)
{
    const std::string path = dir.File(BoardFileName("LB"));
    for (const auto& [kind, reason] : {std::pair("folder", "Is a directory"), std::pair("pipe", "Is a named pipe")}) {
        SCOPED_TRACE(kind);
        std::filesystem::remove(path);
        if (kind == std::string("folder"))
            std::filesystem::create_directory(path);
        else
            korvane::test::MakeNamedPipe(path);
        Restart();
        log.clear();
        LeaderboardHandle found = 1;
        korvane::test::EndsWithoutWaiting(
            [&] {
                errno = EAGAIN; // as an earlier call of the thread may have left it: not the reason
                found = Find("LB");
            },
            path, "finding the board");
        EXPECT_EQ(found, 0u);
        EXPECT_THAT(log, ::testing::ElementsAre("cannot read '" + path + "' (" + reason + ")"));
    }
}

} // namespace
} // namespace os::store::test
