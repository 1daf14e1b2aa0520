/** @file SoundTestSupport.h Generated WAVE data, a PCM reader in memory and checks shared by the sound tests. */
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/core/StandardSoundReader.h"
#include "KorvaneXDK/platform/sound/DXSound.h"
#include "os/audio/Testing.h"
#include "support/AudioTestData.h"
#include "support/ExpectThrow.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

namespace soundtest
{

inline constexpr auto Pcm = &korvane::test::PcmFormat;
using korvane::test::ExpectThrowWith;
using korvane::test::LogCapture;
constexpr auto Mix = &os::testing::MixAudioFrames;
using Samples = std::vector<std::int16_t>;
using Bytes = std::vector<std::uint8_t>;

/// A RIFF WAVE file holding the PCM bytes in the format, written by the engine's own RIFF writer.
inline std::string MakeWave(const os::audio::WaveFormatEx& format, const Bytes& pcm)
{
    korvane::CRIFFWriter writer;
    writer.SetFormType(korvane::MakeFourCC("WAVE"));
    writer.AddChunk(korvane::MakeFourCC("fmt "), &format, 16); // the PCM fields, without the extra-size word
    writer.AddChunk(korvane::MakeFourCC("data"), pcm.data(), static_cast<std::uint32_t>(pcm.size()));
    korvane::CMemoryStream out;
    writer.WriteTo(out);
    return std::string(reinterpret_cast<const char*>(out.GetBuffer()), static_cast<std::size_t>(out.GetSize()));
}

/// 16-bit samples that differ from frame to frame (so a gap or a repeat shows), as bytes.
inline Bytes Pattern16(std::size_t samples, int seed)
{
    Samples values(samples);
    std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
    for (auto& value : values) {
        state = state * 1664525u + 1013904223u;
        value = static_cast<std::int16_t>(static_cast<int>((state >> 16) % 20001) - 10000);
    }
    Bytes bytes(samples * 2);
    std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

/// The bytes of 16-bit PCM as samples (the mixer's output is in the machine's order too).
inline Samples AsSamples(const Bytes& bytes)
{
    Samples samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

/// `count` samples of `source` from `from` on, round and round.
inline Samples Cycle(const Samples& source, std::size_t from, std::size_t count)
{
    Samples out(count);
    for (std::size_t i = 0; i < count; ++i)
        out[i] = source[(from + i) % source.size()];
    return out;
}

/// The samples followed by silence, `count` in all.
inline Samples ThenSilence(Samples samples, std::size_t count)
{
    samples.resize(std::max(count, samples.size()));
    return samples;
}

/// Yields until `done` holds or ten seconds pass; returns `done()`.
inline bool Eventually(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return done();
}

/// PCM from memory with any format, including ones no file reader would accept.
class MemoryPcmReader : public korvane::CStandardSoundReader
{
public:
    MemoryPcmReader(const os::audio::WaveFormatEx& format, Bytes pcm) : pcm_(std::move(pcm))
    {
        format_ = format;
        totalBytes_ = static_cast<std::int32_t>(pcm_.size());
    }
    using korvane::CStandardSoundReader::Open;
    void Open(korvane::IKorvaneStream*) override {}
    std::int32_t Rewind() override { return position_ = 0; }
    std::int32_t Read(void* buffer, std::int32_t bytes) override
    {
        const std::int32_t count = std::max(0, std::min(bytes, static_cast<std::int32_t>(pcm_.size()) - position_));
        if (count > 0)
            std::memcpy(buffer, pcm_.data() + position_, static_cast<std::size_t>(count));
        position_ += count;
        return count;
    }
    std::string GetComment(const std::string&) const override { return ""; }
    Bytes pcm_;
};

inline boost::shared_ptr<korvane::ISoundReader> Reader(const os::audio::WaveFormatEx& format, Bytes pcm)
{
    return boost::shared_ptr<korvane::ISoundReader>(new MemoryPcmReader(format, std::move(pcm)));
}

/// An initialised sound device on the audio layer's manual backend, which mixes only when asked.
class SoundDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        os::testing::ResetAudioHooks();
        os::testing::UseManualAudioBackend(true);
        ASSERT_TRUE(device_.Initialize());
    }

    korvane::test::TempDir dir_;
    korvane::CDXSound device_;
};

} // namespace soundtest
