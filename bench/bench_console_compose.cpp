/** @file bench_console_compose.cpp One console frame hand-over: both tile layers and 128 sprites, against a 1 MiB memcpy. */
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "KorvaneXDK/core/ScopedLock.h"
#include "host/ConsoleDisplayState.h"
#include "host/ConsoleFrameComposer.h"
#include "host/ConsoleServices.h"
#include "host/ResourceScene.h"

namespace
{

constexpr std::size_t kFrameBytes = 512 * 2048;

/// A busy screen: every pattern about half opaque, both maps filled with random cells (all
/// mirrors), all palettes set, 128 sprites over the visible 224 x 144, half of them over layer 1.
void FillBusyScreen()
{
    std::mt19937 rng(7);
    korvane::CScopedLock lock(CResourceScene::GetInstance()->GetDisplayLock());
    DisplayReset();
    ConsoleDisplayState& state = GetConsoleDisplayState();
    for (auto& byte : state.TilePatterns)
        byte = static_cast<std::uint8_t>(rng() & 0x7777);
    for (auto& map : state.TileMaps)
        for (auto& row : map)
            for (auto& cell : row)
                cell = static_cast<std::uint16_t>(rng());
    for (int p = 0; p < 16; ++p)
        for (int e = 0; e < 16; ++e)
            DisplaySetPaletteColor(p, e, static_cast<ConsoleColor12>(rng() & 0xFFF));
    std::vector<ConsoleSpriteEntry> sprites(128);
    for (auto& sprite : sprites)
        sprite = (static_cast<std::uint32_t>(rng()) & 0xFFFF) | (rng() % 217) << 24 | (rng() % 137) << 16;
    DisplayUploadSprites(0, 128, sprites.data());
    DisplaySetSpriteCount(128);
    DisplaySetScroll(0, 13, -27);
    DisplaySetScroll(1, -101, 300);
    DisplaySetMode(kConsoleModeLayer0 | kConsoleModeLayer1 | kConsoleModeSprites);
}

void BM_ConsoleHandOver(benchmark::State& state)
{
    FillBusyScreen();
    CConsoleFrameComposer composer;
    composer.MakeBuffers(2048);
    for (auto _ : state) {
        composer.PresentConsoleFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ConsoleHandOver)->Unit(benchmark::kMicrosecond);

/// The hand-over's steps one by one, to see where its time goes.
void BM_ConsoleStep(benchmark::State& state)
{
    FillBusyScreen();
    CConsoleFrameComposer composer;
    composer.MakeBuffers(2048);
    const auto composition = composer.GetCompositionBuffer();
    const auto frame = composer.GetNewestFrame();
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            composer.ClearToBackdrop(composition);
            break;
        case 1:
            composer.DrawTileLayer(composition, 0);
            break;
        case 2:
            composer.DrawSprites(composition, 0);
            break;
        default:
            composer.DoubleToTextureBuffer(frame, composition);
            break;
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ConsoleStep)->Unit(benchmark::kMicrosecond)->ArgNames({"clear|layer|sprites|double"})->DenseRange(0, 3);

void BM_Memcpy1MiBFrame(benchmark::State& state)
{
    std::vector<std::uint8_t> from(kFrameBytes, 1);
    std::vector<std::uint8_t> to(kFrameBytes, 0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kFrameBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy1MiBFrame)->Unit(benchmark::kMicrosecond);

/// Prints, after the usual table, the hand-over time against its budget and the memcpy.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions, the median stands for the benchmark; without, its only run.
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration ? run.iterations > 0 : run.aggregate_name == "median")
                times_[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() * 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto handOver = times_.find("BM_ConsoleHandOver");
        const auto copy = times_.find("BM_Memcpy1MiBFrame");
        if (handOver != times_.end() && copy != times_.end() && copy->second > 0)
            std::printf("Hand-over %.1f us (budget 100 us), memcpy of the 1 MiB frame %.1f us, ratio %.2f\n",
                        handOver->second, copy->second, handOver->second / copy->second);
    }

private:
    std::map<std::string, double> times_; ///< CPU microseconds an iteration
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
