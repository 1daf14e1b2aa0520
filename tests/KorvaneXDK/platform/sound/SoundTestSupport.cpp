/** @file SoundTestSupport.cpp WAVE and Ogg generators and the shared checks of the sound tests. */
#include "SoundTestSupport.h"

#include <chrono>
#include <cmath>
#include <thread>

#include "KorvaneXDK/core/Exception.h"

namespace soundtest
{

namespace
{

// Little-endian, `bytes` bytes.
void Put(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

} // namespace

std::string MakeWave(const os::audio::WaveFormatEx& format, const std::vector<std::uint8_t>& pcm)
{
    std::string out = "RIFF";
    Put(out, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + pcm.size()), 4);
    out += "WAVEfmt ";
    for (const auto& [value, bytes] : {std::pair<std::uint32_t, int>{16, 4},
                                       {format.formatTag, 2},
                                       {format.channels, 2},
                                       {format.samplesPerSec, 4},
                                       {format.avgBytesPerSec, 4},
                                       {format.blockAlign, 2},
                                       {format.bitsPerSample, 2},
                                       {0x61746164, 4}, // "data"
                                       {static_cast<std::uint32_t>(pcm.size()), 4}})
        Put(out, value, bytes);
    out.append(reinterpret_cast<const char*>(pcm.data()), pcm.size());
    return out;
}

void FillStream(korvane::CMemoryStream& stream, const os::audio::WaveFormatEx& format,
                const std::vector<std::uint8_t>& pcm)
{
    const std::string wave = MakeWave(format, pcm);
    stream.Write(wave.data(), static_cast<std::int32_t>(wave.size()));
    stream.Seek(0);
}

std::string MakeOgg(int channels, int rate, int frames)
{
    std::vector<float> samples;
    for (int i = 0; i < frames; ++i) {
        const float value = 0.5f * std::sin(2.0f * 3.14159265f * 440.0f * static_cast<float>(i) / rate);
        for (int c = 0; c < channels; ++c)
            samples.push_back(c == 0 ? value : -value);
    }
    return korvane::test::EncodeOggVorbis(channels, rate, samples, 0.3f, {"TITLE=tone"});
}

std::vector<std::uint8_t> Pattern16(std::size_t samples, int seed)
{
    std::vector<std::uint8_t> bytes(samples * 2);
    std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
    for (std::size_t i = 0; i < samples; ++i) {
        state = state * 1664525u + 1013904223u;
        const auto value = static_cast<std::uint16_t>(static_cast<std::int16_t>((state >> 16) % 20001) - 10000);
        bytes[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
        bytes[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    return bytes;
}

std::vector<std::int16_t> AsSamples(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::int16_t> samples(bytes.size() / 2);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return samples;
}

::testing::AssertionResult MatchesFrom(const std::vector<std::int16_t>& expected, std::size_t from,
                                       const std::vector<std::int16_t>& out, std::size_t count)
{
    if (count != SIZE_MAX && out.size() < count)
        return ::testing::AssertionFailure() << out.size() << " samples mixed, " << count << " expected";
    count = std::min(count, out.size());
    if (expected.empty() && count > 0)
        return ::testing::AssertionFailure() << "nothing expected, " << count << " samples mixed";
    for (std::size_t i = 0; i < count; ++i)
        if (out[i] != expected[(from + i) % expected.size()])
            return ::testing::AssertionFailure()
                   << "sample " << i << " is " << out[i] << ", expected " << expected[(from + i) % expected.size()];
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult SilentFrom(const std::vector<std::int16_t>& out, std::size_t from)
{
    for (std::size_t i = from; i < out.size(); ++i)
        if (out[i] != 0)
            return ::testing::AssertionFailure() << "sample " << i << " is " << out[i];
    return ::testing::AssertionSuccess();
}

bool Eventually(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    return done();
}

} // namespace soundtest
