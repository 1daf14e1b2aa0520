/** @file bench_task_pool.cpp The front-end task pool: one allocation and free, and one run over every record. */
#include <benchmark/benchmark.h>

#include "host/FrontEndTaskPool.h"

namespace
{

void Idle(FrontEndTask* task)
{
    benchmark::DoNotOptimize(task->State);
}

/// Allocate and free one record with a thousand others live: constant time whatever is live.
void BM_AllocFree(benchmark::State& state)
{
    TaskPoolInit();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        TaskPoolAlloc(Idle);
    for (auto _ : state) {
        FrontEndTask* task = TaskPoolAlloc(Idle);
        TaskPoolFree(task);
    }
}
BENCHMARK(BM_AllocFree)->Arg(0)->Arg(1000)->Arg(4990);

/// One display frame's run over every live record (the first run after init stops early, so
/// one run is spent before timing).
void BM_RunAll(benchmark::State& state)
{
    TaskPoolInit();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        TaskPoolAlloc(Idle);
    TaskPoolRunAll();
    for (auto _ : state)
        TaskPoolRunAll();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RunAll)->Arg(10)->Arg(5000);

} // namespace

BENCHMARK_MAIN();
