/** @file SoundTestSupport.cpp WAVE and Ogg generators and the memory reader. */
#include "SoundTestSupport.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "support/AudioTestData.h"

namespace soundtest {

namespace {

void Put16(std::string& out, std::uint16_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(value >> 16));
}

} // namespace

os::audio::WaveFormatEx Pcm(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    return korvane::test::PcmFormat(channels, rate, bits);
}

std::string MakeWave(const os::audio::WaveFormatEx& format, const std::vector<std::uint8_t>& pcm)
{
    std::string out = "RIFF";
    Put32(out, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + pcm.size()));
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, format.formatTag);
    Put16(out, format.channels);
    Put32(out, format.samplesPerSec);
    Put32(out, format.avgBytesPerSec);
    Put16(out, format.blockAlign);
    Put16(out, format.bitsPerSample);
    out += "data";
    Put32(out, static_cast<std::uint32_t>(pcm.size()));
    out.append(reinterpret_cast<const char*>(pcm.data()), pcm.size());
    return out;
}

std::string MakeOgg(int channels, int rate, int frames)
{
    std::vector<float> samples(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    for (int i = 0; i < frames; ++i)
    {
        const float value = 0.5f * std::sin(2.0f * 3.14159265f * 440.0f * static_cast<float>(i) / rate);
        for (int c = 0; c < channels; ++c)
            samples[static_cast<std::size_t>(i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
                c == 0 ? value : -value;
    }
    return korvane::test::EncodeOggVorbis(channels, rate, samples, 0.3f, {"TITLE=tone"});
}

std::vector<std::uint8_t> Pattern16(std::size_t samples, int seed)
{
    std::vector<std::uint8_t> bytes(samples * 2);
    std::uint32_t state = static_cast<std::uint32_t>(seed) * 2654435761u + 1;
    for (std::size_t i = 0; i < samples; ++i)
    {
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

std::int32_t MemoryPcmReader::Read(void* buffer, std::int32_t bytes)
{
    if (bytes < 1)
        return 0;
    const auto available = static_cast<std::int32_t>(pcm_.size()) - position_;
    const std::int32_t count = std::min(bytes, available);
    if (count > 0)
        std::memcpy(buffer, pcm_.data() + position_, static_cast<std::size_t>(count));
    position_ += std::max(count, 0);
    return std::max(count, 0);
}

} // namespace soundtest
