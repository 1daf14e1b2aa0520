/** @file bench_shader_frame.cpp One 256 x 256 frame of 500 textured quads through the cached canvas shader pair,
 * against the same frame made with the graphics layer's own calls. */
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/ShaderEnvironment.h"
#include "KorvaneXDK/platform/graphics/ShaderPair.h"
#include "KorvaneXDK/platform/graphics/ShaderUniformPair.h"
#include "KorvaneXDK/platform/graphics/Texture.h"
#include "KorvaneXDK/platform/graphics/VertexDeclaration.h"
#include "KorvaneXDK/platform/graphics/VertexElementTables.h"
#include "os/gfx/ConstantTable.h"
#include "os/gfx/Device.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/Texture.h"
#include "os/gfx/VertexDeclaration.h"
#include "support/TempDir.h"
#include "tools/kvatool/Packer.h"

namespace
{

constexpr std::uint32_t kSize = 256;
constexpr int kQuads = 500;
constexpr int kTextures = 4;

struct CanvasVertex
{
    float x, y, z;
    std::uint32_t color0, color1;
    float u, v;
};

std::string ProjectData(const std::string& relative)
{
    std::string root = KORVANE_SOURCE_DIR "/";
    return korvane::test::TempDir::Read(root + "data/" + relative);
}

/// The driver with its device and environment, the canvas pair from a packed archive, and the
/// same shaders made directly on the device for the raw frame.
struct Scene
{
    korvane::test::TempDir dir;
    os::gfx::Device* device = nullptr;
    korvane::CShaderEnvironment* environment = nullptr;
    boost::shared_ptr<korvane::CShaderPair> pair;
    boost::shared_ptr<korvane::CShaderUniformPair> world;
    std::uint32_t unit = 0;
    std::vector<std::unique_ptr<korvane::CTexture>> engineTextures;
    std::vector<std::shared_ptr<os::gfx::Texture>> textures; ///< the same, as the layer holds them
    std::vector<korvane::Matrix4> worlds;
    korvane::Matrix4 projection;
    korvane::Matrix4 view;
    CanvasVertex quad[4] = {};

    std::shared_ptr<os::gfx::Shader> rawVertex;
    std::shared_ptr<os::gfx::Shader> rawPixel;
    std::shared_ptr<os::gfx::ConstantTable> rawTable;
    os::gfx::ConstantHandle rawWorld = nullptr;
    os::gfx::ConstantHandle rawView = nullptr;
    os::gfx::ConstantHandle rawProjection = nullptr;
    std::shared_ptr<os::gfx::VertexDeclaration> rawDeclaration;

    bool Create(std::string& error)
    {
        const std::string vs = ProjectData("shader/canvas.vs");
        const std::string ps = ProjectData("shader/canvas.ps");
        dir.Write("src/shader/canvas.vs", vs);
        dir.Write("src/shader/canvas.ps", ps);
        korvane::CGameApplicationDriverCX* driver = korvane::bench::StartOnArchive(dir, kSize, kSize, error);
        if (driver == nullptr) {
            return false;
        }
        environment = driver->GetShaderEnvironment();
        device = driver->GetGraphics()->GetDevice();
        pair = environment->GetShaderPair("shader\\canvas");
        world = pair->GetUniform("World");
        unit = pair->GetSamplerIndex("BaseTexture");

        os::gfx::MatrixOrthoOffCenterLH(&projection, 0, kSize, kSize, 0, 0, 1);
        environment->SetProjectionMatrix(projection);
        for (int t = 0; t < kTextures; ++t) {
            auto texture = std::make_unique<korvane::CTexture>();
            const float grey = 0.25f * static_cast<float>(t + 1);
            texture->Fill(16, 16, grey, grey, grey, 1, false, os::gfx::Format::Unknown);
            textures.push_back(texture->GetD3DTexture()->shared_from_this());
            engineTextures.push_back(std::move(texture));
        }
        // 16 x 16 quads spread over the target, each placed by its world matrix.
        for (int i = 0; i < kQuads; ++i) {
            korvane::Matrix4 m;
            os::gfx::MatrixTranslation(&m, static_cast<float>((i * 37) % (kSize - 16)),
                                       static_cast<float>((i * 53) % (kSize - 16)), 0);
            worlds.push_back(m);
        }
        const float e = 16.0f - 0.5f;
        quad[0] = {-0.5f, -0.5f, 0.5f, 0xC0FFFFFFu, 0, 0, 0};
        quad[1] = {e, -0.5f, 0.5f, 0xC0FFFFFFu, 0, 1, 0};
        quad[2] = {-0.5f, e, 0.5f, 0xC0FFFFFFu, 0, 0, 1};
        quad[3] = {e, e, 0.5f, 0xC0FFFFFFu, 0, 1, 1};

        if (os::gfx::Failed(device->CreateVertexShader(vs.data(), vs.size(), &rawVertex)) ||
            os::gfx::Failed(device->CreatePixelShader(ps.data(), ps.size(), &rawPixel)) ||
            os::gfx::Failed(os::gfx::GetShaderConstantTable(rawVertex, &rawTable)) ||
            os::gfx::Failed(
                device->CreateVertexDeclaration(korvane::vertex_elements::kPositionColor2Tex, &rawDeclaration))) {
            error = "raw set-up failed: " + device->GetLastShaderLog();
            return false;
        }
        rawWorld = rawTable->GetConstantByName(nullptr, "World");
        rawView = rawTable->GetConstantByName(nullptr, "View");
        rawProjection = rawTable->GetConstantByName(nullptr, "Projection");

        device->SetRenderState(os::gfx::RenderState::CullMode, os::gfx::value::CullNone);
        device->SetRenderState(os::gfx::RenderState::AlphaBlendEnable, os::gfx::value::True);
        device->SetRenderState(os::gfx::RenderState::SrcBlend, os::gfx::value::BlendSrcAlpha);
        device->SetRenderState(os::gfx::RenderState::DestBlend, os::gfx::value::BlendInvSrcAlpha);
        return true;
    }

    void Draw() { device->DrawPrimitiveUP(os::gfx::PrimitiveType::TriangleStrip, 2, quad, sizeof(CanvasVertex)); }

    /// Begin, then per quad "World", texture, draw.
    void PairFrame()
    {
        device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF202020u, 1.0f, 0);
        device->BeginScene();
        environment->GetDeclPositionColor2Tex()->Apply();
        pair->Begin();
        for (int i = 0; i < kQuads; ++i) {
            world->SetMatrix(&worlds[static_cast<std::size_t>(i)]);
            pair->SetTextureAt(unit, engineTextures[static_cast<std::size_t>(i % kTextures)].get());
            Draw();
        }
        device->EndScene();
        device->Present();
    }

    /// The same frame with the layer's calls: shaders, three matrices, then per quad the same.
    void RawFrame()
    {
        device->Clear(0, nullptr, os::gfx::clear::Target | os::gfx::clear::ZBuffer, 0xFF202020u, 1.0f, 0);
        device->BeginScene();
        device->SetVertexDeclaration(rawDeclaration);
        device->SetVertexShader(rawVertex);
        device->SetPixelShader(rawPixel);
        rawTable->SetMatrix(device, rawView, &view);
        rawTable->SetMatrix(device, rawProjection, &projection);
        for (int i = 0; i < kQuads; ++i) {
            rawTable->SetMatrix(device, rawWorld, &worlds[static_cast<std::size_t>(i)]);
            device->SetTexture(unit, textures[static_cast<std::size_t>(i % kTextures)]);
            Draw();
        }
        device->EndScene();
        device->Present();
    }
};

std::unique_ptr<Scene> scene;

Scene* TheScene(std::string& error)
{
    static std::string failure;
    if (!scene && failure.empty()) {
        scene = std::make_unique<Scene>();
        if (!scene->Create(failure)) {
            scene.reset();
        }
    }
    error = failure;
    return scene.get();
}

template <void (Scene::*Frame)()>
void RunFrames(benchmark::State& state)
{
    std::string error;
    Scene* scene = TheScene(error);
    if (scene == nullptr) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (int i = 0; i < 10; ++i) {
        (scene->*Frame)(); // warm up the driver's caches
    }
    for (auto _ : state) {
        (scene->*Frame)();
    }
    std::vector<std::uint32_t> pixels;
    std::uint32_t width = 0, height = 0;
    scene->device->ReadBackBuffer(&pixels, &width, &height);
    state.SetItemsProcessed(state.iterations() * kQuads);
}

/// CPU time of the main thread per frame: through the cached canvas pair.
void BM_ShaderPairFrame500Quads(benchmark::State& state)
{
    RunFrames<&Scene::PairFrame>(state);
}
BENCHMARK(BM_ShaderPairFrame500Quads)->Unit(benchmark::kMillisecond);

/// The same frame made with the layer's own calls.
void BM_RawLayerFrame500Quads(benchmark::State& state)
{
    RunFrames<&Scene::RawFrame>(state);
}
BENCHMARK(BM_RawLayerFrame500Quads)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    const int result = korvane::bench::RunBenchmarks(argc, argv);
    if (result != 0) {
        return result;
    }
    scene.reset();
    korvane::DestroyApplicationDriver();
    return 0;
}
