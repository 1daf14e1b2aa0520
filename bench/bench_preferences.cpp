/** @file bench_preferences.cpp Load plus Save of "preference.dat": the default file (keyboard, mouse and
 * four pads) and a file with all four controller types, one of them carried for an absent pad. */
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "KorvaneXDK/platform/input/DXInput.h"
#include "frontend/preferences/PreferenceManager.h"
#include "frontend/preferences/StandardPreferenceHost.h"
#include "tests/frontend/preferences/PreferenceOracle.h"

namespace
{

/// The save folder, the controllers (keyboard, mouse and the four pad slots) and a manager.
struct Fixture
{
    Fixture()
    {
        if (!input.Initialize(true))
            std::abort();
        manager.ResetAllKeyMappings();
    }
    ~Fixture() { std::filesystem::remove_all(folder); }

    void WriteFile(const std::string& bytes) { std::ofstream(folder + "preference.dat", std::ios::binary) << bytes; }

    static std::string MakeFolder()
    {
        char pattern[] = "/tmp/korvane-bench-XXXXXX";
        if (!mkdtemp(pattern))
            std::abort();
        return std::string(pattern) + "/";
    }

    const std::string folder = MakeFolder();
    korvane::CDXInput input{nullptr, nullptr};
    korvane::CGraphicsModePreference display;
    CStandardPreferenceHost host{&input, display, folder + "display_setting.ini", folder};
    CPreferenceManager manager{host};
};

void Run(benchmark::State& state, const std::string& file)
{
    Fixture fixture;
    fixture.WriteFile(file);
    for (auto _ : state) {
        fixture.manager.Load();
        fixture.manager.Save();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(file.size()));
}

void BM_LoadSaveDefaultFile(benchmark::State& state)
{
    Run(state, oracle::File({oracle::Standard(0, oracle::kKeyboard), oracle::Standard(2, oracle::kMouse),
                             oracle::Standard(3, oracle::kXInput)}));
}
BENCHMARK(BM_LoadSaveDefaultFile)->Unit(benchmark::kMicrosecond);

void BM_LoadSaveFourTypeFile(benchmark::State& state)
{
    Run(state, oracle::File({oracle::Standard(0, oracle::kKeyboard), oracle::Standard(1, oracle::kJoystick),
                             oracle::Standard(2, oracle::kMouse), oracle::Standard(3, oracle::kXInput)}));
}
BENCHMARK(BM_LoadSaveFourTypeFile)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
