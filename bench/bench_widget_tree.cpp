/** @file bench_widget_tree.cpp Hit-testing and routing through a tree of 1,000 controls (10 x 10 x 10 nested panels):
 * mouse down, move and up at random points, hovering moves, and one Update pass over the whole tree. */
#include <cstdint>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>

#include "KorvaneXDK/mwt/Panel.h"

namespace
{

using korvane::Vector2;
using korvane::mwt::CControl;
using korvane::mwt::CPanel;

constexpr int kFanOut = 10;
constexpr float kSide = 1000.0f;
constexpr std::size_t kPoints = 4096;

/// The root (1000 x 1000) holds 10 rows of 100; each row 10 cells of 100 x 100; each cell 10
/// leaves of 20 x 50 that tile it, so every point inside lands on a leaf three panels down.
struct Tree
{
    Tree()
    {
        root->ApplySize(Vector2<float>(kSide, kSide));
        root->Initialize();
        for (int row = 0; row < kFanOut; ++row) {
            auto rowPanel = boost::make_shared<CPanel>("row");
            rowPanel->SetLocation(Vector2<float>(0.0f, 100.0f * static_cast<float>(row)));
            rowPanel->ApplySize(Vector2<float>(kSide, 100.0f));
            root->AddControl(rowPanel);
            for (int cell = 0; cell < kFanOut; ++cell) {
                auto cellPanel = boost::make_shared<CPanel>("cell");
                cellPanel->SetLocation(Vector2<float>(100.0f * static_cast<float>(cell), 0.0f));
                cellPanel->ApplySize(Vector2<float>(100.0f, 100.0f));
                rowPanel->AddControl(cellPanel);
                for (int leaf = 0; leaf < kFanOut; ++leaf) {
                    auto control = boost::make_shared<CControl>("leaf");
                    control->SetLocation(Vector2<float>(20.0f * static_cast<float>(leaf % 5), 50.0f * (leaf / 5)));
                    control->ApplySize(Vector2<float>(20.0f, 50.0f));
                    control->ClickEvent = [this](CControl*) { ++clicks; };
                    cellPanel->AddControl(control);
                }
            }
        }
        std::mt19937 random(20261206u);
        std::uniform_real_distribution<float> coordinate(0.0f, kSide);
        for (std::size_t i = 0; i < kPoints; ++i) {
            points.emplace_back(coordinate(random), coordinate(random));
        }
    }

    boost::shared_ptr<CPanel> root = boost::make_shared<CPanel>("root");
    std::vector<Vector2<float>> points;
    std::int64_t clicks = 0;
};

void SetPerEvent(benchmark::State& state, std::int64_t events)
{
    state.SetItemsProcessed(events);
    state.counters["per_event"] =
        benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/// Press at one random point, drag to a second, release at a third: three events.
void BM_PressDragRelease(benchmark::State& state)
{
    Tree tree;
    std::size_t i = 0;
    for (auto _ : state) {
        tree.root->OnMouseDown(tree.points[i % kPoints], 1);
        tree.root->OnMouseMove(tree.points[(i + 1) % kPoints], 1);
        tree.root->OnMouseUp(tree.points[(i + 2) % kPoints], 1);
        i += 3;
    }
    SetPerEvent(state, static_cast<std::int64_t>(state.iterations()) * 3);
    benchmark::DoNotOptimize(tree.clicks);
}
BENCHMARK(BM_PressDragRelease);

/// Press and release at the same random point: a click each time.
void BM_Click(benchmark::State& state)
{
    Tree tree;
    std::size_t i = 0;
    for (auto _ : state) {
        const Vector2<float>& p = tree.points[i++ % kPoints];
        tree.root->OnMouseDown(p, 1);
        tree.root->OnMouseUp(p, 1);
    }
    SetPerEvent(state, static_cast<std::int64_t>(state.iterations()) * 2);
    if (tree.clicks != static_cast<std::int64_t>(state.iterations())) {
        state.SkipWithError("a press and release on one leaf did not click");
    }
}
BENCHMARK(BM_Click);

/// Moves with no button held: a hit test down the tree each time.
void BM_HoverMove(benchmark::State& state)
{
    Tree tree;
    std::size_t i = 0;
    for (auto _ : state) {
        tree.root->OnMouseMove(tree.points[i++ % kPoints], 0);
    }
    SetPerEvent(state, static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_HoverMove);

/// One Update pass over the 1,111 nodes (each container steps a copy of its child list).
void BM_Update(benchmark::State& state)
{
    Tree tree;
    for (auto _ : state) {
        tree.root->Update(0.016f);
    }
    SetPerEvent(state, static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_Update);

} // namespace

BENCHMARK_MAIN();
