/** @file bench_ogg_decode.cpp Ogg Vorbis decode rate of the engine's reader against libvorbisfile used directly. */
#include <benchmark/benchmark.h>

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/OggVorbisReader.h"
#include "support/AudioTestData.h"

namespace
{

constexpr int kChannels = 2;
constexpr long kRate = 44100;
constexpr long kFrames = 10 * kRate; // ten seconds of music-like sound
constexpr int kPiece = 16384;        // bytes per Read, about what a streaming sound asks for

// A chord with vibrato and a little noise, so the encoder produces music-like packets.
std::string EncodeMusic()
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.02f, 0.02f);
    std::vector<float> samples(static_cast<std::size_t>(kFrames * kChannels));
    for (long i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double wobble = 1.0 + 0.01 * std::sin(2 * M_PI * 5 * t);
        for (int ch = 0; ch < kChannels; ++ch)
            samples[static_cast<std::size_t>(i * kChannels + ch)] =
                static_cast<float>(0.2 * std::sin(2 * M_PI * 220 * (ch + 1) * wobble * t) +
                                   0.15 * std::sin(2 * M_PI * 330 * t) + 0.1 * std::sin(2 * M_PI * 1250 * t)) +
                noise(random);
    }
    return korvane::test::EncodeOggVorbis(kChannels, kRate, samples, 0.5f, {"TITLE=bench"}, 42);
}

const std::string& Music()
{
    static const std::string music = EncodeMusic();
    return music;
}

// The reference: libvorbisfile reading the same bytes from memory through its own callbacks.
struct MemorySource
{
    const std::string* data;
    long position;
};

std::size_t MemoryRead(void* buffer, std::size_t size, std::size_t count, void* source)
{
    auto* m = static_cast<MemorySource*>(source);
    const long left = static_cast<long>(m->data->size()) - m->position;
    const long wanted = std::min<long>(static_cast<long>(size * count), std::max(left, 0L));
    std::memcpy(buffer, m->data->data() + m->position, static_cast<std::size_t>(wanted));
    m->position += wanted;
    return static_cast<std::size_t>(wanted) / size;
}

int MemorySeek(void* source, ogg_int64_t offset, int whence)
{
    auto* m = static_cast<MemorySource*>(source);
    long target = whence == SEEK_SET   ? static_cast<long>(offset)
                  : whence == SEEK_CUR ? m->position + static_cast<long>(offset)
                                       : static_cast<long>(m->data->size()) + static_cast<long>(offset);
    m->position = std::clamp(target, 0L, static_cast<long>(m->data->size()));
    return 0;
}

long MemoryTell(void* source)
{
    return static_cast<MemorySource*>(source)->position;
}

void BM_OggDecode_Libvorbisfile(benchmark::State& state)
{
    const std::string& music = Music();
    std::vector<char> buffer(kPiece);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        MemorySource source{&music, 0};
        OggVorbis_File file;
        ov_open_callbacks(&source, &file, nullptr, 0, ov_callbacks{MemoryRead, MemorySeek, nullptr, MemoryTell});
        long got;
        int bitstream = 0;
        while (true) {
            std::int32_t filled = 0;
            while (filled < kPiece &&
                   (got = ov_read(&file, buffer.data() + filled, kPiece - filled, 0, 2, 1, &bitstream)) > 0)
                filled += static_cast<std::int32_t>(got);
            bytes += filled;
            if (filled < kPiece)
                break;
        }
        ov_clear(&file);
    }
    state.SetBytesProcessed(bytes);
}

void BM_OggDecode_Engine(benchmark::State& state)
{
    const std::string& music = Music();
    korvane::CMemoryStream stream;
    stream.Write(music.data(), static_cast<std::int32_t>(music.size()));
    std::vector<char> buffer(kPiece);
    std::int64_t bytes = 0;
    for (auto _ : state) {
        korvane::COggVorbisReader reader;
        reader.Open(&stream);
        std::int32_t got;
        while ((got = reader.Read(buffer.data(), kPiece)) > 0)
            bytes += got;
    }
    state.SetBytesProcessed(bytes);
}

// Opening alone: the reader's open includes its check of every link's codebooks.
void BM_OggOpen_Libvorbisfile(benchmark::State& state)
{
    const std::string& music = Music();
    for (auto _ : state) {
        MemorySource source{&music, 0};
        OggVorbis_File file;
        ov_open_callbacks(&source, &file, nullptr, 0, ov_callbacks{MemoryRead, MemorySeek, nullptr, MemoryTell});
        ov_clear(&file);
    }
}

void BM_OggOpen_Engine(benchmark::State& state)
{
    const std::string& music = Music();
    korvane::CMemoryStream stream;
    stream.Write(music.data(), static_cast<std::int32_t>(music.size()));
    for (auto _ : state) {
        korvane::COggVorbisReader reader;
        reader.Open(&stream);
    }
}

BENCHMARK(BM_OggOpen_Libvorbisfile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OggOpen_Engine)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OggDecode_Libvorbisfile)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_OggDecode_Engine)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// Prints the engine's time relative to libvorbisfile after the usual table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto direct = times_.find("BM_OggDecode_Libvorbisfile/min_time:1.000");
        const auto engine = times_.find("BM_OggDecode_Engine/min_time:1.000");
        if (direct != times_.end() && engine != times_.end() && direct->second > 0) {
            const double ratio = engine->second / direct->second;
            std::printf(
                "Ogg decode: engine reader takes %.3f x the time of libvorbisfile directly (%s; target <= 1.10)\n",
                ratio, ratio <= 1.10 ? "within target" : "OVER TARGET");
            std::printf("Ogg data: %zu bytes, %ld frames, %d channels, %ld Hz\n", Music().size(), kFrames, kChannels,
                        kRate);
        }
    }

private:
    std::map<std::string, double> times_;
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
