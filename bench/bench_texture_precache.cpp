/** @file bench_texture_precache.cpp Precaching 200 PNG images (256 x 256 RGBA) from an archive on one and on three
 * threads, each until every texture is uploaded; the layer's PNG decoding against a plain libpng decode. */
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>
#include <png.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "KorvaneXDK/platform/graphics/DXGraphics.h"
#include "KorvaneXDK/platform/graphics/TextureCache.h"
#include "os/gfx/Device.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"
#include "os/gfx/TestImageWriter.h"
#include "os/gfx/Texture.h"
#include "tools/kvatool/Packer.h"

namespace
{

constexpr int kImages = 200;
constexpr std::uint32_t kSide = 256;

/// Smooth gradients with a little deterministic noise: compresses like drawn art does.
std::string MakeImage(int index)
{
    return gfxtest::WritePng(kSide, kSide, PNG_COLOR_TYPE_RGBA, 8, [index](std::uint32_t x, std::uint32_t y) {
        std::uint32_t noise = (x * 7919u + y * 104729u + static_cast<std::uint32_t>(index) * 31u) * 2654435761u;
        noise = (noise >> 28) & 0x7;
        const std::uint32_t r = (x + static_cast<std::uint32_t>(index)) & 0xFF;
        const std::uint32_t g = (y * 2 + noise) & 0xFF;
        const std::uint32_t b = ((x ^ y) + noise) & 0xFF;
        const std::uint32_t a = 0x80 + ((x + y) & 0x7F);
        return (a << 24) | (r << 16) | (g << 8) | b;
    });
}

struct Fixture
{
    Fixture()
    {
        char pattern[] = "/tmp/korvane-bench-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::abort();
        }
        folder = pattern;
        std::vector<kvatool::SourceFile> files;
        for (int i = 0; i < kImages; ++i) {
            const std::string name = "img\\" + std::to_string(1000 + i) + ".png";
            const std::string bytes = MakeImage(i);
            pngs.push_back(bytes);
            files.push_back({name, "", kvatool::Bytes(bytes.begin(), bytes.end())});
        }
        kvatool::PackOptions options;
        archive = folder + "/images.kva";
        kvatool::WriteFileAtomically(archive, kvatool::BuildArchive(files, options));
        loader.reset(new korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>(archive));

        if (!korvane::CreateApplicationDriver(nullptr) ||
            !korvane::GetApplicationDriver()->InitializeGraphicsForTesting(64, 48)) {
            std::fprintf(stderr, "no graphics device\n");
            std::abort();
        }
        device = korvane::GetApplicationDriver()->GetGraphics()->GetDevice();
        device->Present(); // the first present sets the window up: not part of either run
    }

    ~Fixture()
    {
        korvane::DestroyApplicationDriver();
        std::filesystem::remove_all(folder);
    }

    /// The device's next call uploads what the loader threads decoded; every texture must be up.
    void UploadAndCheck(korvane::CTextureCache& cache)
    {
        device->Present();
        for (int i = 0; i < kImages; i += 37) {
            const std::string name = "img\\" + std::to_string(1000 + i) + ".png";
            korvane::ITexture* texture = cache.Load(loader.get(), name, false, name, os::gfx::Format::Unknown);
            if (texture->GetD3DTexture() == nullptr || !texture->GetD3DTexture()->IsUploaded()) {
                std::fprintf(stderr, "texture %s not uploaded\n", name.c_str());
                std::abort();
            }
        }
    }

    std::string folder;
    std::string archive;
    std::vector<std::string> pngs;
    boost::shared_ptr<korvane::IDataLoader> loader;
    os::gfx::Device* device = nullptr;
};

Fixture& Get()
{
    static Fixture fixture;
    return fixture;
}

void BM_PrecacheOneThread(benchmark::State& state)
{
    Fixture& f = Get();
    std::unique_ptr<korvane::CTextureCache> cache;
    for (auto _ : state) {
        state.PauseTiming(); // releasing the last run's textures is not part of the precache
        cache.reset(new korvane::CTextureCache());
        state.ResumeTiming();
        cache->DirectoryPrecacheAndPurge(f.loader.get(), "img", false, false, "", os::gfx::Format::Unknown);
        f.UploadAndCheck(*cache);
    }
}
BENCHMARK(BM_PrecacheOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_PrecacheThreeThreads(benchmark::State& state)
{
    Fixture& f = Get();
    std::unique_ptr<korvane::CTextureCache> cache;
    for (auto _ : state) {
        state.PauseTiming();
        cache.reset(new korvane::CTextureCache());
        state.ResumeTiming();
        cache->DirectoryPrecacheAndPurgeFromDataLoaderMT(f.loader.get(), "img", false, false, "",
                                                         os::gfx::Format::Unknown);
        f.UploadAndCheck(*cache);
    }
}
BENCHMARK(BM_PrecacheThreeThreads)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

/// The layer's decoder over all 200 files.
void BM_DecodePngLayer(benchmark::State& state)
{
    Fixture& f = Get();
    for (auto _ : state) {
        for (const std::string& png : f.pngs) {
            os::gfx::DecodedImage image;
            if (os::gfx::DecodePng(reinterpret_cast<const std::uint8_t*>(png.data()), png.size(),
                                   os::gfx::DecodeLimits(), &image) != os::gfx::kOk) {
                std::abort();
            }
            benchmark::DoNotOptimize(image.levels[0].data());
        }
    }
}
BENCHMARK(BM_DecodePngLayer)->Unit(benchmark::kMillisecond);

/// libpng's own simplified reader producing the same B, G, R, A bytes.
void BM_DecodePngPlainLibpng(benchmark::State& state)
{
    Fixture& f = Get();
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kSide) * kSide * 4);
    for (auto _ : state) {
        for (const std::string& png : f.pngs) {
            png_image image{};
            image.version = PNG_IMAGE_VERSION;
            if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
                std::abort();
            }
            image.format = PNG_FORMAT_BGRA;
            std::vector<std::uint8_t> out(PNG_IMAGE_SIZE(image));
            if (!png_image_finish_read(&image, nullptr, out.data(), 0, nullptr)) {
                std::abort();
            }
            benchmark::DoNotOptimize(out.data());
        }
    }
}
BENCHMARK(BM_DecodePngPlainLibpng)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::printf("cores: %u\n", std::thread::hardware_concurrency());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    Get();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
