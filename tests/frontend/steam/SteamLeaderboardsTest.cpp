/** @file SteamLeaderboardsTest.cpp The leaderboard client over the local store, with its failures. */
#include "frontend/steam/SteamLeaderboards.h"
#include "SteamFixture.h"
#include "frontend/steam/SteamRemoteStorage.h"
#include "frontend/steam/SteamServices.h"

#include <tuple>
#include <utility>

using os::testing::StoreFailure;
using os::testing::StoreRequest;

class SteamLeaderboardsTest : public SteamFixture
{
protected:
    void SetUp() override
    {
        SteamFixture::SetUp();
        ASSERT_TRUE(os::testing::SeedLeaderboard("LB_QV_DEF_EASY", {{1, "u1", 99, std::vector<std::int32_t>(61, 1)},
                                                                    {2, "u2", 98, std::vector<std::int32_t>(61, 2)},
                                                                    {3, "u3", 97, std::vector<std::int32_t>(61, 3)}}));
    }

    std::vector<std::int32_t> words = std::vector<std::int32_t>(61, 7);
    CSteamLeaderboards client;
};

TEST_F(SteamLeaderboardsTest,
       DownloadKeepsWhatFitsUploadRanksAStaleResultIsNeverDeliveredAndRequestsThatCannotStartOrFailLeaveTheClientIdle)
{
    // No board yet: nothing starts (the upload: after the failed search below), and an empty name is not found.
    EXPECT_EQ(std::tuple(false, false), std::tuple(client.DownloadScores(0, 10, 1, 10), client.IsBusy()));
    client.FindLeaderboard("");
    Pump();
    EXPECT_EQ(std::tuple(false, 0u, false, std::vector<std::string>{"Leaderboard could not be found\n"}),
              std::tuple(client.IsSucceeded(), client.GetBoardHandle(), client.UploadScore(50, words.data()), debug));

    client.FindLeaderboard("LB_QV_DEF_EASY");
    Pump();
    ASSERT_TRUE(client.IsSucceeded());
    ASSERT_TRUE(client.DownloadScores(0, 10, 1, 11));
    EXPECT_EQ(std::tuple(true, 10, 61),
              std::tuple(client.IsBusy(), client.GetWantedEntries(), client.GetDetailsPerEntry()));
    Pump();
    EXPECT_EQ(std::tuple(true, 3, 3, 3u, 3, 3),
              std::tuple(client.IsSucceeded(), client.GetKeptEntries(), client.GetBoardTotal(), client.GetEntry(2).user,
                         client.GetEntry(2).globalRank, client.GetDetails(2)[60]));
    // Less room than entries: the rest is dropped; the arrays are made anew.
    ASSERT_TRUE(client.DownloadScores(0, 2, 1, 11));
    EXPECT_THROW(client.GetEntry(2), std::out_of_range);
    Pump();
    EXPECT_EQ(std::tuple(2, 3), std::tuple(client.GetKeptEntries(), client.GetBoardTotal()));
    client.FreeDownloadedEntries();
    EXPECT_FALSE(client.HasDownloadedEntries());

    ASSERT_TRUE(client.UploadScore(150, words.data()));
    EXPECT_EQ(std::tuple(true, false), std::tuple(client.IsBusy(), client.IsSucceeded()));
    Pump();
    EXPECT_EQ(std::tuple(true, 1), std::tuple(client.IsSucceeded(), client.GetLastUploadResult().globalRankNew));

    // A stale result is never delivered.
    ASSERT_TRUE(os::testing::SeedLeaderboard("LB_TV_DEF_NORMAL", {{9, "nine", 5, {}}}));
    // A slow download, then a search for another board before it ends.
    os::testing::DelayStoreResults(3);
    ASSERT_TRUE(client.DownloadScores(0, 10, 1, 10));
    os::testing::DelayStoreResults(0);
    client.FindLeaderboard("LB_TV_DEF_NORMAL");
    Pump();
    EXPECT_TRUE(client.IsSucceeded());
    const os::store::LeaderboardHandle other = client.GetBoardHandle();
    Pump(5);
    // The old download never arrived: the count is still the one before it.
    EXPECT_EQ(std::tuple(false, 2, other),
              std::tuple(client.IsBusy(), client.GetKeptEntries(), client.GetBoardHandle()));
    ASSERT_TRUE(client.DownloadScores(0, 10, 1, 10));
    Pump();
    EXPECT_EQ(std::tuple(1, 9u), std::tuple(client.GetKeptEntries(), client.GetEntry(0).user));

    // The services and the board table.
    EXPECT_FALSE(IsSteamRequestPending());
    FindLeaderboardByIndex(3); // no client yet: nothing
    CreateSteamServices();
    ASSERT_TRUE(gSteamLeaderboards != nullptr && gSteamRemoteStorage != nullptr);
    EXPECT_EQ(std::tuple(false, ~std::uint64_t{0}),
              std::tuple(gSteamRemoteStorage->IsBusy(), gSteamRemoteStorage->GetAttachmentHandle()));
    // Past the table's end: no name.
    EXPECT_EQ(GetLeaderboardBoardName(kLeaderboardCount), nullptr);

    FindLeaderboardByIndex(1);
    Pump();
    ASSERT_NE(gSteamLeaderboards->GetBoardHandle(), 0u);
    // An index outside the table loses the board found before.
    FindLeaderboardByIndex(12);
    EXPECT_EQ(std::tuple(false, false),
              std::tuple(IsSteamRequestPending(), gSteamLeaderboards->UploadScore(1, words.data())));
    delete std::exchange(gSteamLeaderboards, nullptr);
    delete std::exchange(gSteamRemoteStorage, nullptr);

    // Requests that cannot start and failed results leave the client idle; the board holds the three seeded and the
    // upload above.
    client.FindLeaderboard("LB_QV_DEF_EASY");
    Pump();
    ASSERT_TRUE(client.DownloadScores(0, 10, 1, 10));
    Pump();
    const char* const upload = "Score could not be uploaded to Steam\n";
    const char* const find = "Leaderboard could not be found\n";
    // The request, how it fails, the message; the searches come last: a failed one forgets the board.
    const std::tuple<StoreRequest, StoreFailure, const char*> cases[] = {
        {StoreRequest::DownloadEntries, StoreFailure::IoFailure, nullptr},
        {StoreRequest::DownloadEntries, StoreFailure::NoHandle, nullptr},
        {StoreRequest::UploadScore, StoreFailure::Refused, upload},
        {StoreRequest::UploadScore, StoreFailure::IoFailure, upload},
        {StoreRequest::UploadScore, StoreFailure::NoHandle, upload},
        {StoreRequest::FindLeaderboard, StoreFailure::NotFound, find},
        {StoreRequest::FindLeaderboard, StoreFailure::IoFailure, find},
        {StoreRequest::FindLeaderboard, StoreFailure::NoHandle, find}};
    for (const auto& [request, failure, message] : cases) {
        SCOPED_TRACE(static_cast<int>(request) * 10 + static_cast<int>(failure));
        debug.clear();
        os::testing::FailNextStoreRequest(request, failure);
        const bool starts = failure != StoreFailure::NoHandle;
        if (request == StoreRequest::DownloadEntries)
            EXPECT_EQ(starts, client.DownloadScores(0, 10, 1, 1));
        else if (request == StoreRequest::UploadScore)
            EXPECT_EQ(starts, client.UploadScore(1, words.data()));
        else
            client.FindLeaderboard("LB_QV_DEF_EASY");
        EXPECT_EQ(starts, client.IsBusy());
        Pump();
        EXPECT_EQ(debug, message ? std::vector<std::string>{message} : std::vector<std::string>{});
        // Idle and failed; a failed download keeps the old counts.
        EXPECT_EQ(std::tuple(false, false, 4, 4),
                  std::tuple(client.IsBusy(), client.IsSucceeded(), client.GetKeptEntries(), client.GetBoardTotal()));
    }
    EXPECT_EQ(client.GetBoardHandle(), 0u);
    // No interface at all: the same.
    os::store::Shutdown();
    client.FindLeaderboard("LB_QV_DEF_EASY");
    EXPECT_EQ(std::tuple(false, 0u), std::tuple(client.IsBusy(), client.GetBoardHandle()));
}
