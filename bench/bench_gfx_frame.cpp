/** @file bench_gfx_frame.cpp One frame at 1280 x 720: clear, 500 small untextured quads from client memory,
 * present. */
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "os/gfx/Device.h"
#include "os/gfx/Direct3D.h"
#include "os/gfx/ResultCodes.h"
#include "os/window/Window.h"
#include "tests/support/ColorShaders.h"

namespace
{

constexpr std::uint32_t kWidth = 1280;
constexpr std::uint32_t kHeight = 720;
constexpr int kQuads = 500;

/// Everything one benchmark run draws with, set up once.
struct Scene
{
    std::unique_ptr<os::window::Window> window;
    std::shared_ptr<os::gfx::Direct3D> direct3D;
    std::shared_ptr<os::gfx::Device> device;
    gfxtest::ColorShaders shaders;
    std::vector<gfxtest::ColorVertex> quads; // four vertices per quad, triangle-strip order

    bool Create(std::string& error)
    {
        window = std::make_unique<os::window::Window>("bench");
        if (!window->IsCreated()) {
            error = "no window";
            return false;
        }
        window->SetClientSize(kWidth, kHeight);
        if (os::gfx::Failed(os::gfx::Direct3DCreate9Ex(os::gfx::kSdkVersion, &direct3D))) {
            error = "no graphics object";
            return false;
        }
        os::gfx::PresentParameters p = gfxtest::WindowedParameters(kWidth, kHeight, window.get());
        if (os::gfx::Failed(direct3D->CreateDeviceEx(
                0, os::gfx::DeviceType::Hal, window.get(),
                os::gfx::create::HardwareVertexProcessing | os::gfx::create::Multithreaded, &p, nullptr, &device))) {
            error = "no device";
            return false;
        }
        if (!shaders.Create(*device, kWidth, kHeight, &error)) {
            return false;
        }
        device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone);
        device->SetRenderState(os::gfx::RenderState::AlphaBlendEnable, os::gfx::value::True);
        device->SetRenderState(os::gfx::RenderState::SrcBlend, os::gfx::value::BlendSrcAlpha);
        device->SetRenderState(os::gfx::RenderState::DestBlend, os::gfx::value::BlendInvSrcAlpha);
        // 16 x 16 quads spread over the screen, like sprites and glyphs of a busy menu.
        for (int i = 0; i < kQuads; ++i) {
            const float x = static_cast<float>((i * 37) % (kWidth - 16)) - 0.5f;
            const float y = static_cast<float>((i * 53) % (kHeight - 16)) - 0.5f;
            const std::uint32_t color = 0xC0000000u | (static_cast<std::uint32_t>(i) * 2654435761u & 0xFFFFFFu);
            quads.push_back({x, y, 0.5f, color});
            quads.push_back({x + 16, y, 0.5f, color});
            quads.push_back({x, y + 16, 0.5f, color});
            quads.push_back({x + 16, y + 16, 0.5f, color});
        }
        return true;
    }

    void Frame()
    {
        device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF202020u, 1.0f, 0);
        device->BeginScene();
        for (int i = 0; i < kQuads; ++i) {
            device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, &quads[static_cast<std::size_t>(i) * 4],
                                    sizeof(gfxtest::ColorVertex));
        }
        device->EndScene();
        device->Present();
    }
};

void RunFrames(benchmark::State& state)
{
    Scene scene;
    std::string error;
    if (!scene.Create(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (int i = 0; i < 10; ++i) {
        scene.Frame(); // warm up the driver's shader and buffer caches
    }
    for (auto _ : state) {
        scene.Frame();
    }
    // Wait for the renderer so that the last frames' work counts.
    std::vector<std::uint32_t> pixels;
    scene.device->ReadBackBuffer(&pixels, nullptr, nullptr);
    state.SetItemsProcessed(state.iterations() * kQuads);
}

/// CPU time of the calling (main) thread per frame: what the game's frame budget pays.
void BM_GfxFrame500Quads(benchmark::State& state)
{
    RunFrames(state);
}
BENCHMARK(BM_GfxFrame500Quads)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The same frame with the software renderer's worker threads counted in the CPU time.
void BM_GfxFrame500QuadsProcessCpu(benchmark::State& state)
{
    RunFrames(state);
}
BENCHMARK(BM_GfxFrame500QuadsProcessCpu)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    // A headless run needs no X server; an explicit setting (x11 on a display) is kept.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
