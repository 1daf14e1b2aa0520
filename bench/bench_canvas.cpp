/** @file bench_canvas.cpp A toolkit frame through the canvas on the real device at 1280 x 720: 1,000 nine-piece skins
 * and 2,000 glyphs (25 lines of 80) per frame; frames per second, CPU milliseconds of the drawing thread per frame and
 * draw calls per second. */
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "KorvaneXDK/canvas/Canvas.h"
#include "KorvaneXDK/canvas/FontStock.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "os/gfx/Device.h"
#include "os/gfx/Math.h"
#include "support/TempDir.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace
{

constexpr std::uint32_t kWidth = 1280;
constexpr std::uint32_t kHeight = 720;
constexpr int kSkins = 1000;
constexpr int kLines = 25;
constexpr int kLineLength = 80;

const std::string kLine = "The quick brown fox jumps over the lazy dog; 0123456789 (SOUND SETTINGS) abcdefg";

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Scene
{
    korvane::test::TempDir dir;
    os::gfx::Device* device = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    std::unique_ptr<korvane::canvas::CCanvas> canvas;
    korvane::CTexture skin;

    bool Create(std::string& error)
    {
        const std::string source = KORVANE_SOURCE_DIR;
        dir.Write("src/shader/canvas.vs", korvane::test::TempDir::Read(source + "/data/shader/canvas.vs"));
        dir.Write("src/shader/canvas.ps", korvane::test::TempDir::Read(source + "/data/shader/canvas.ps"));
        fontbuild::FontSpec spec;
        spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf")};
        spec.pixelSize = 14;
        spec.characters.insert(kLine.begin(), kLine.end());
        korvane::bench::WriteBenchFont(dir, spec);
        korvane::CGameApplicationDriverCX* driver = korvane::bench::StartOnArchive(dir, kWidth, kHeight, error);
        if (driver == nullptr) {
            return false;
        }
        korvane::CShaderEnvironment* environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        pair = environment->GetShaderPair("shader\\canvas");
        korvane::Matrix4 projection;
        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kWidth, kHeight, 0, 0, 1);
        environment->SetProjectionMatrix(projection);

        canvas = std::make_unique<korvane::canvas::CCanvas>();
        canvas->SetShaderPair(pair);
        canvas->LoadFont("default", "fonts\\Bench.kvf");
        skin.Fill(64, 64, 0.6f, 0.7f, 0.9f, 0.8f, false, os::gfx::Format::Unknown);
        return true;
    }

    /// One frame as the window scene draws it; the number of draw calls made.
    int Frame()
    {
        device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        canvas->BeginDraw();
        pair->Begin();
        canvas->ResetClipRect();
        for (int i = 0; i < kSkins; ++i) {
            const float x = static_cast<float>((i * 37) % (kWidth - 160));
            const float y = static_cast<float>((i * 23) % (kHeight - 60));
            canvas->DrawSkin({x, y, 160, 60}, {8, 8, 48, 48}, &skin);
        }
        for (int line = 0; line < kLines; ++line) {
            canvas->DrawText({8.0f, static_cast<float>(line * 28)}, kLine);
        }
        canvas->EndDraw();
        device->EndScene();
        device->Present();
        return kSkins + kLines;
    }
};

std::unique_ptr<Scene> scene;

void BM_CanvasToolkitFrame(benchmark::State& state)
{
    std::string failure;
    if (korvane::bench::MakeSceneOnce(scene, failure) == nullptr) {
        state.SkipWithError(failure.c_str());
        return;
    }
    for (int i = 0; i < 5; ++i) {
        scene->Frame(); // warm up the driver's caches
    }
    std::int64_t draws = 0;
    const double cpuStart = ThreadCpuSeconds();
    for (auto _ : state) {
        draws += scene->Frame();
    }
    // Wait for the last frame to finish before the clock stops.
    std::vector<std::uint32_t> pixels;
    scene->device->ReadBackBuffer(&pixels, nullptr, nullptr);
    const double cpu = ThreadCpuSeconds() - cpuStart;
    const auto frames = static_cast<double>(state.iterations());
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    state.counters["cpu_ms_per_frame"] = benchmark::Counter(cpu * 1000.0 / frames);
    state.counters["draw_calls_per_s"] = benchmark::Counter(static_cast<double>(draws), benchmark::Counter::kIsRate);
    state.SetItemsProcessed(state.iterations() * kLines * kLineLength);
}
BENCHMARK(BM_CanvasToolkitFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

} // namespace

int main(int argc, char** argv)
{
    const int result = korvane::bench::RunBenchmarks(argc, argv);
    if (result != 0) {
        return result;
    }
    scene.reset();
    korvane::canvas::CFontStock::ReleaseInstance();
    korvane::DestroyApplicationDriver();
    return 0;
}
