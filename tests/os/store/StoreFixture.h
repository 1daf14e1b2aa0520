/** @file StoreFixture.h A running store over a temporary save folder, with its log and result catchers. */
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "os/store/CallResult.h"
#include "os/store/Callback.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "os/store/UserStats.h"
#include "support/TempDir.h"

namespace os::store::test
{

/// Catches the result of one request.
template <class P>
struct Catcher
{
    Catcher& Wait(CallHandle call)
    {
        holder.Set(call, this, &Catcher::On);
        return *this;
    }
    void On(const P* result, bool ioFailure)
    {
        ++count;
        last = *result;
        failed = ioFailure;
    }

    CallResult<Catcher, P> holder;
    int count = 0;
    std::optional<P> last;
    bool failed = false;
};

/// Records every callback of one id.
template <class P>
struct Listener
{
    Listener() { holder.Register(this, &Listener::On); }
    void On(const P* result) { heard.push_back(*result); }

    Callback<Listener, P> holder;
    std::vector<P> heard;
};

class StoreFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetStoreHooks();
        SetLogFunction([this](const std::string& line) { log.push_back(line); });
        ASSERT_NO_FATAL_FAILURE(Restart());
    }
    void TearDown() override
    {
        Shutdown();
        os::testing::ResetStoreHooks();
        SetLogFunction(nullptr);
    }

    static void Pump(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            RunCallbacks();
    }

    /// Starts the service over the same folder, as the next run of the program does.
    void Restart()
    {
        Shutdown(); // harmless when stopped
        ASSERT_TRUE(Init());
        SetSaveFolder(dir.Path());
        stats = GetUserStats();
    }

    CallHandle FindCall(const char* name, LeaderboardSortMethod sort = kSortDescending)
    {
        return stats->FindOrCreateLeaderboard(name, sort, kDisplayNumeric);
    }

    /// Finds (or creates) a board through the pump and returns its handle.
    LeaderboardHandle Find(const std::string& name)
    {
        Catcher<LeaderboardFindResult> find;
        find.Wait(FindCall(name.c_str()));
        Pump();
        return find.count == 1 && !find.failed && find.last->found ? find.last->leaderboard : 0;
    }

    /// Uploads through the pump; returns the result record (success 0 on any failure).
    LeaderboardScoreUploaded Upload(LeaderboardHandle board, std::int32_t score, std::vector<std::int32_t> details = {},
                                    LeaderboardUploadMethod method = kUploadKeepBest)
    {
        Catcher<LeaderboardScoreUploaded> upload;
        upload.Wait(stats->UploadLeaderboardScore(board, method, score, details.data(),
                                                  static_cast<std::int32_t>(details.size())));
        Pump();
        return upload.count == 1 && !upload.failed ? *upload.last : LeaderboardScoreUploaded{};
    }

    /// Downloads through the pump; returns (user, rank, score) of each entry with its stored detail
    /// words, or nullopt on failure.
    struct Row
    {
        std::uint64_t user;
        std::int32_t rank;
        std::int32_t score;
        std::vector<std::int32_t> details = {};
        bool operator==(const Row&) const = default;
    };
    std::optional<std::vector<Row>> Download(LeaderboardHandle board, LeaderboardDataRequest kind, std::int32_t start,
                                             std::int32_t end)
    {
        Catcher<LeaderboardScoresDownloaded> download;
        download.Wait(stats->DownloadLeaderboardEntries(board, kind, start, end));
        Pump();
        if (download.count != 1 || download.failed)
            return std::nullopt;
        std::vector<Row> rows;
        for (std::int32_t i = 0; i < download.last->entryCount; ++i) {
            LeaderboardEntry entry;
            std::vector<std::int32_t> words(64, -1);
            EXPECT_TRUE(stats->GetDownloadedLeaderboardEntry(download.last->entries, i, &entry, words.data(), 64));
            words.resize(static_cast<std::size_t>(std::max(entry.details, 0)));
            rows.push_back(Row{entry.user, entry.globalRank, entry.score, words});
        }
        return rows;
    }

    /// Requests the statistics and returns the result code that arrived (0: none).
    std::int32_t Receive()
    {
        Listener<UserStatsReceived> received;
        if (!stats->RequestCurrentStats())
            return 0;
        Pump();
        return received.heard.size() == 1 ? received.heard[0].result : 0;
    }
    bool Achieved(const char* id)
    {
        bool achieved = false;
        return stats->GetAchievement(id, &achieved) && achieved;
    }

    korvane::test::TempDir dir;
    std::vector<std::string> log;
    UserStats* stats = nullptr;
};

} // namespace os::store::test
