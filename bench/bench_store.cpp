/** @file bench_store.cpp The store's leaderboard requests on a 10,000-entry board, each through the client and the pump. */
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "frontend/steam/SteamLeaderboards.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/TempDir.h"

namespace
{

constexpr int kEntries = 10000;
constexpr std::uint64_t kSelf = 5'000'000;
const char* const kBoard = "LB_QV_DEF_NORMAL";

/// A save folder holding the board, shared by every benchmark of the run.
class BoardFolder
{
public:
    BoardFolder()
    {
        os::store::SetLogFunction([](const std::string&) {});
        Start();
        os::testing::SetStoreUser(kSelf, "me");
        std::vector<os::testing::SeedEntry> entries;
        std::vector<std::uint64_t> friends;
        for (int n = 0; n < kEntries; ++n) {
            const std::uint64_t user = n == kEntries / 2 ? kSelf : static_cast<std::uint64_t>(n + 1);
            entries.push_back(
                {user, "player" + std::to_string(n), 1'000'000 - n * 7 % 9973, std::vector<std::int32_t>(61, n)});
            if (n % 200 == 0)
                friends.push_back(user);
        }
        os::testing::SeedLeaderboard(kBoard, entries);
        os::testing::SetStoreFriends(friends);
    }

    void Start() const
    {
        os::store::Init();
        os::store::SetSaveFolder(dir_.Path());
    }

private:
    korvane::test::TempDir dir_;
};

BoardFolder& Folder()
{
    static BoardFolder folder;
    return folder;
}

void Find(CSteamLeaderboards& client)
{
    client.FindLeaderboard(kBoard);
    os::store::RunCallbacks();
}

/// A search on a board not yet loaded (read and checked from its file), then the first page.
void BM_FindAndGlobalDownload(benchmark::State& state)
{
    Folder();
    CSteamLeaderboards client;
    for (auto _ : state) {
        state.PauseTiming();
        os::store::Shutdown();
        Folder().Start();
        state.ResumeTiming();
        Find(client);
        client.DownloadScores(0, 10, 1, 11);
        os::store::RunCallbacks();
        benchmark::DoNotOptimize(client.GetKeptEntries());
    }
    if (client.GetKeptEntries() != 10)
        state.SkipWithError("download failed");
}
BENCHMARK(BM_FindAndGlobalDownload)->Unit(benchmark::kMillisecond);

void Download(benchmark::State& state, std::int32_t kind, std::int32_t room, std::int32_t start, std::int32_t end)
{
    Folder();
    CSteamLeaderboards client;
    Find(client);
    for (auto _ : state) {
        client.DownloadScores(kind, room, start, end);
        os::store::RunCallbacks();
        benchmark::DoNotOptimize(client.GetKeptEntries());
    }
    if (!client.IsSucceeded() || client.GetKeptEntries() == 0)
        state.SkipWithError("download failed");
}

void BM_GlobalDownload(benchmark::State& state)
{
    Download(state, 0, 10, 4001, 4011);
}
BENCHMARK(BM_GlobalDownload)->Unit(benchmark::kMicrosecond);

void BM_AroundUserDownload(benchmark::State& state)
{
    Download(state, 1, 10, -4, 5);
}
BENCHMARK(BM_AroundUserDownload)->Unit(benchmark::kMicrosecond);

void BM_FriendsDownload(benchmark::State& state)
{
    Download(state, 2, kEntries / 200 + 1, 0, 0);
}
BENCHMARK(BM_FriendsDownload)->Unit(benchmark::kMicrosecond);

/// A better score each time, so every upload rewrites the board file (temporary file, fsync, rename).
void BM_UploadWithRewrite(benchmark::State& state)
{
    Folder();
    CSteamLeaderboards client;
    Find(client);
    std::vector<std::int32_t> words(61, 3);
    std::int32_t score = 2'000'000;
    for (auto _ : state) {
        client.UploadScore(++score, words.data());
        os::store::RunCallbacks();
    }
    if (!client.IsSucceeded() || client.GetLastUploadResult().scoreChanged != 1)
        state.SkipWithError("upload failed");
}
BENCHMARK(BM_UploadWithRewrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
