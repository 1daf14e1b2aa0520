/** @file bench_archive.cpp Decode rate of a large enciphered, compressed archive entry and the time to open a large archive. */
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include <cryptopp/aes.h>
#include <cryptopp/gzip.h>
#include <cryptopp/modes.h>
#include <cryptopp/sha.h>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"
#include "tools/kvatool/Packer.h"

namespace
{

constexpr std::size_t kLargeEntrySize = 32 * 1024 * 1024;
constexpr int kManyEntries = 5000;

/// Text-like data that compresses about as well as the program's tables and shaders.
std::string MakeText(std::size_t size)
{
    static const char* const words[] = {"canvas",     "shader", "texture", "font",   "=",     "\r\n",  "0.75", "button",
                                        "appearance", "stage",  "enemy",   "bullet", "score", "title", " ",    "a"};
    std::string text;
    text.reserve(size);
    std::uint32_t state = 12345;
    while (text.size() < size) {
        state = state * 1103515245u + 12345u;
        text += words[(state >> 16) % 16];
        if ((state >> 8) % 5 == 0) {
            text += std::to_string(state % 1000);
        }
    }
    text.resize(size);
    return text;
}

/// The benchmark's archives, written once into a temporary folder.
struct Fixture
{
    Fixture()
    {
        char pattern[] = "/tmp/korvane-bench-XXXXXX";
        if (!mkdtemp(pattern)) {
            std::abort();
        }
        folder = pattern;

        kvatool::PackOptions options;
        std::vector<kvatool::SourceFile> large = {{"large.txt", "", MakeText(kLargeEntrySize)}};
        largeArchive = folder + "/large.kva";
        kvatool::WriteFileAtomically(largeArchive, kvatool::BuildArchive(large, options));

        korvane::CArchiveFileLoader loader;
        loader.Open(largeArchive);
        const korvane::CArchiveFileEntryHeader* entry = loader.GetEntry(0);
        const std::string image = kvatool::ReadWholeFile(largeArchive);
        storedLarge =
            image.substr(std::size_t(loader.GetDataBase() + entry->GetOffset()), std::size_t(entry->GetSize()));

        std::vector<kvatool::SourceFile> many;
        for (int i = 0; i < kManyEntries; ++i) {
            const std::string name = "folder" + std::to_string(i % 50) + "\\sub" + std::to_string(i % 7) + "\\file" +
                                     std::to_string(i) + (i % 4 == 0 ? ".png" : ".txt");
            many.push_back({name, "", MakeText(64 + std::size_t(i % 300))});
        }
        std::sort(many.begin(), many.end(),
                  [](const kvatool::SourceFile& a, const kvatool::SourceFile& b) { return a.name < b.name; });
        manyArchive = folder + "/many.kva";
        kvatool::WriteFileAtomically(manyArchive, kvatool::BuildArchive(many, options));
    }

    ~Fixture()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::string folder;
    std::string largeArchive;
    std::string manyArchive;
    std::string storedLarge; ///< the large entry's stored bytes: key block, then the enciphered gzip member
};

Fixture& GetFixture()
{
    static Fixture fixture;
    return fixture;
}

void BM_ArchiveDecodeEncipheredCompressed(benchmark::State& state)
{
    Fixture& fixture = GetFixture();
    korvane::CArchiveFileLoader loader;
    loader.Open(fixture.largeArchive);
    for (auto _ : state) {
        std::unique_ptr<korvane::IKorvaneStream> stream(loader.OpenEntry("large.txt"));
        benchmark::DoNotOptimize(stream->GetSize());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kLargeEntrySize));
}
BENCHMARK(BM_ArchiveDecodeEncipheredCompressed)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The same bytes, already in memory, through the library alone: key, AES-CTR, Gunzip.
void BM_RawCounterModeAndGunzip(benchmark::State& state)
{
    const std::string& stored = GetFixture().storedLarge;
    const auto* bytes = reinterpret_cast<const CryptoPP::byte*>(stored.data());
    std::string plain(stored.size() - 96, '\0');
    std::string output;
    for (auto _ : state) {
        CryptoPP::SHA256 sha;
        CryptoPP::byte key[32];
        sha.CalculateDigest(key, bytes, 64);
        for (int i = 1; i < 128; ++i) {
            sha.CalculateDigest(key, key, 32);
        }
        CryptoPP::CTR_Mode<CryptoPP::AES>::Encryption cipher(key, 32, bytes + 64);
        cipher.ProcessData(reinterpret_cast<CryptoPP::byte*>(plain.data()), bytes + 96, plain.size());
        CryptoPP::Gunzip gunzip;
        gunzip.Put(reinterpret_cast<const CryptoPP::byte*>(plain.data()), plain.size());
        gunzip.MessageEnd();
        output.resize(std::size_t(gunzip.MaxRetrievable()));
        gunzip.Get(reinterpret_cast<CryptoPP::byte*>(output.data()), output.size());
        benchmark::DoNotOptimize(output.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(kLargeEntrySize));
}
BENCHMARK(BM_RawCounterModeAndGunzip)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ArchiveOpen5000Entries(benchmark::State& state)
{
    Fixture& fixture = GetFixture();
    for (auto _ : state) {
        korvane::CArchiveFileLoader loader;
        loader.Open(fixture.manyArchive);
        benchmark::DoNotOptimize(loader.GetEntryCount());
    }
}
BENCHMARK(BM_ArchiveOpen5000Entries)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ArchiveDataLoader5000Entries(benchmark::State& state)
{
    Fixture& fixture = GetFixture();
    for (auto _ : state) {
        korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader> loader(fixture.manyArchive);
        benchmark::DoNotOptimize(&loader);
    }
}
BENCHMARK(BM_ArchiveDataLoader5000Entries)->Unit(benchmark::kMillisecond)->UseRealTime();

/// Prints, after the usual table, the archive's decode rate as a share of the raw library's.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto found = run.counters.find("bytes_per_second");
            if (found != run.counters.end()) {
                rates_[run.run_name.function_name] = found->second.value;
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto archive = rates_.find("BM_ArchiveDecodeEncipheredCompressed");
        const auto raw = rates_.find("BM_RawCounterModeAndGunzip");
        if (archive != rates_.end() && raw != rates_.end() && raw->second > 0) {
            std::printf(
                "Archive decode rate: %.1f MiB/s, raw AES-CTR + Gunzip: %.1f MiB/s, ratio %.1f %% (target >= 80 %%)\n",
                archive->second / 1048576.0, raw->second / 1048576.0, 100.0 * archive->second / raw->second);
        }
    }

private:
    std::map<std::string, double> rates_;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
