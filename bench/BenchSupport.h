/** @file BenchSupport.h What the drawing benchmarks share: a font built into the archive's source folder, the archive
 * packed by the project's tool, the driver with a headless device reading it, and the benchmark main's run. */
#pragma once

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <boost/shared_ptr.hpp>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "KorvaneXDK/platform/GameApplicationDriverCX.h"
#include "support/TempDir.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace korvane::bench
{

/// Builds the font and writes it as "src/fonts/Bench.kvf" with its page "Bench.png".
inline void WriteBenchFont(const test::TempDir& dir, const fontbuild::FontSpec& spec)
{
    const fontbuild::BuiltFont built = fontbuild::BuildFont(spec);
    const std::vector<std::uint8_t> kvf = fontbuild::EncodeKvf(built);
    const std::vector<std::uint8_t> png = fontbuild::EncodePng(built);
    dir.Write("src/fonts/Bench.kvf", std::string(kvf.begin(), kvf.end()));
    dir.Write("src/fonts/Bench.png", std::string(png.begin(), png.end()));
}

/// Packs "src" into "data.kva" and starts the driver with a width x height device reading it and its shader
/// environment; nullptr, with `error` set, when there is no device.
inline CGameApplicationDriverCX* StartOnArchive(const test::TempDir& dir, int width, int height, std::string& error)
{
    kvatool::PackOptions options;
    kvatool::PackFolder(dir.File("src"), dir.File("data.kva"), options);
    if (!CreateApplicationDriver(nullptr) || !GetApplicationDriver()->InitializeGraphicsForTesting(width, height)) {
        error = "no device";
        return nullptr;
    }
    CGameApplicationDriverCX* driver = GetApplicationDriver();
    driver->SetDataLoader(
        boost::shared_ptr<IDataLoader>(new TArchiveFileDataLoader<CArchiveFileLoader>(dir.File("data.kva"))));
    driver->CreateShaderEnvironment();
    return driver;
}

/// Makes the scene once for the whole run; one that failed to be made stays failed, its reason in `error`.
template <typename Scene>
Scene* MakeSceneOnce(std::unique_ptr<Scene>& scene, std::string& error)
{
    static std::string failure;
    if (!scene && failure.empty()) {
        scene = std::make_unique<Scene>();
        try {
            if (!scene->Create(failure)) {
                scene.reset();
            }
        } catch (const std::exception& e) {
            failure = e.what();
            scene.reset();
        }
    }
    error = failure;
    return scene.get();
}

/// Runs the benchmarks the command line names; 1 for an argument it does not know.
inline int RunBenchmarks(int argc, char** argv)
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

} // namespace korvane::bench
