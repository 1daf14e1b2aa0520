/** @file bench_leaderboard_page.cpp From a next-page request to the filled list on a 10,000-entry board: the frames
 * the download job takes and the time they cost (each frame runs the pool and the store's pump). */
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <boost/make_shared.hpp>

#include "frontend/forms/FormSceneLink.h"
#include "frontend/forms/LeaderboardDownloadJob.h"
#include "frontend/forms/LeaderboardListForm.h"
#include "frontend/steam/SteamServices.h"
#include "host/FrontEndTaskPool.h"
#include "os/store/Store.h"
#include "os/store/StoreTesting.h"
#include "support/TempDir.h"

namespace
{

/// Never opened: counts the rows the job hands it.
class CountingListForm : public CLeaderboardListForm
{
public:
    void SetLoading(bool) override {}
    void SetPaging(std::int32_t, std::int32_t) override {}
    void SetCursorRow(std::int32_t) override {}
    void SetBoardName(const std::string&) override {}
    void SetRowCount(std::int32_t count) override
    {
        CLeaderboardListForm::SetRowCount(count);
        filled = 0;
    }
    void SetRow(std::int32_t index, std::int32_t rank, bool replay, bool highlight, const std::string& name,
                std::int64_t score, const std::string& stage, const std::string& date) override
    {
        CLeaderboardListForm::SetRow(index, rank, replay, highlight, name, score, stage, date);
        ++filled;
    }
    void Raise(std::int32_t request) { request_ = request; }

    int filled = 0;
};

void Frame()
{
    TaskPoolRunAll();
    os::store::RunCallbacks();
}

void BM_LeaderboardNextPage(benchmark::State& state)
{
    korvane::test::TempDir dir;
    os::testing::ResetStoreHooks();
    os::store::SetLogFunction([](const std::string&) {});
    os::testing::CaptureStoreDebugOutput([](const std::string&) {});
    os::store::Init();
    os::store::SetSaveFolder(dir.Path());
    os::testing::SetStoreUser(1000, "me");
    std::vector<os::testing::SeedEntry> entries;
    for (int i = 0; i < 10000; ++i) {
        entries.push_back({5000u + static_cast<std::uint64_t>(i), "player" + std::to_string(i), 1000000 - i,
                           std::vector<std::int32_t>(61, i % 40)});
    }
    os::testing::SeedLeaderboard("LB_QV_DEF_NORMAL", entries);
    if (gSteamLeaderboards == nullptr) {
        CreateSteamServices();
    }
    CFormSceneLink::Reset();
    CFormSceneLink::SetSoundHandler([](EUiSound) {});
    TaskPoolInit();

    auto form = boost::make_shared<CountingListForm>();
    FrontEndTask* task = TaskPoolAlloc(LeaderboardDownloadJob);
    LeaderboardDownloadWork& work = GetLeaderboardDownloadWork(task);
    work.Board = 2;
    SetLeaderboardDownloadForm(work, form);
    for (int i = 0; i < 100 && task->State != 9; ++i) {
        Frame();
    }

    std::int64_t frames = 0;
    for (auto _ : state) {
        // Forward through the board, back to the top at its end.
        form->Raise(work.FirstRank + 10 > work.Total - 9 ? CLeaderboardListForm::kRequestPrevious
                                                         : CLeaderboardListForm::kRequestNext);
        if (work.FirstRank + 10 > work.Total - 9) {
            work.FirstRank = 11;
        }
        do {
            Frame();
            ++frames;
        } while (task->State != 9);
        benchmark::DoNotOptimize(form->filled);
    }
    state.counters["frames_per_page"] = static_cast<double>(frames) / static_cast<double>(state.iterations());

    form->Raise(CLeaderboardListForm::kRequestClosed);
    Frame();
    CFormSceneLink::Reset();
    os::store::Shutdown();
    os::testing::ResetStoreHooks();
}
BENCHMARK(BM_LeaderboardNextPage)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
