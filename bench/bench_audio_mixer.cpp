/** @file bench_audio_mixer.cpp Cost of the software mixer per second of 44.1 kHz stereo output with 32 voices. */
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "os/audio/SoundBuffer.h"
#include "os/audio/SoundDevice.h"
#include "os/audio/Testing.h"
#include "support/AudioTestData.h"

namespace
{

using korvane::test::PcmFormat;

// 32 looping voices of the kinds a game plays at once: effects in 8 and 16 bits, mono and
// stereo, at 22.05 and 44.1 kHz (so most of them resample), with volume and pan set.
void MixOneSecondOf32Voices(benchmark::State& state)
{
    os::testing::ResetAudioHooks();
    os::testing::UseManualAudioBackend(true);
    std::shared_ptr<os::audio::SoundDevice> device;
    if (os::audio::SoundDevice::Create(&device) != os::audio::kOk) {
        state.SkipWithError("no device");
        return;
    }
    std::vector<std::shared_ptr<os::audio::SoundBuffer>> voices;
    for (int i = 0; i < 32; ++i) {
        const os::audio::WaveFormatEx format =
            PcmFormat(static_cast<std::uint16_t>(1 + i % 2), i % 3 == 0 ? 44100 : 22050, i % 4 == 3 ? 8 : 16);
        os::audio::BufferDesc desc;
        desc.flags = os::audio::kCapsCtrlVolume | os::audio::kCapsCtrlPan | os::audio::kCapsCtrlFrequency;
        desc.bufferBytes = format.avgBytesPerSec; // one second
        desc.format = &format;
        std::shared_ptr<os::audio::SoundBuffer> buffer;
        device->CreateSoundBuffer(desc, &buffer);
        void* part1 = nullptr;
        std::uint32_t bytes1 = 0;
        buffer->Lock(0, 0, &part1, &bytes1, nullptr, nullptr, os::audio::kLockEntireBuffer);
        auto* bytes = static_cast<std::uint8_t*>(part1);
        for (std::uint32_t b = 0; b < bytes1; ++b)
            bytes[b] = static_cast<std::uint8_t>(b * 37 + i);
        buffer->Unlock(part1, bytes1, nullptr, 0);
        buffer->SetVolume(-100 * (i % 10));
        buffer->SetPan(-5000 + 300 * i);
        if (i % 5 == 4)
            buffer->SetFrequency(format.samplesPerSec + 1000); // pitched
        buffer->Play(os::audio::kPlayLooping);
        voices.push_back(buffer);
    }
    for (auto _ : state) {
        auto out = os::testing::MixAudioFrames(44100);
        benchmark::DoNotOptimize(out.data());
    }
    // Seconds of work per second of output, times 100.
    state.counters["percent_of_one_core"] = benchmark::Counter(
        static_cast<double>(state.iterations()) / 100.0, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    voices.clear();
    device.reset();
}

} // namespace

BENCHMARK(MixOneSecondOf32Voices)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
