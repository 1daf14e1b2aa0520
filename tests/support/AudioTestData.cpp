/** @file AudioTestData.cpp PCM formats, and Ogg Vorbis files from the tools' encoder. */
#include "support/AudioTestData.h"

#include "tools/common/OggEncoder.h"

namespace korvane::test
{

os::audio::WaveFormatEx PcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    return {os::audio::kWaveFormatPcm, channels, rate, align * rate, align, bits, 0};
}

std::string EncodeOggVorbis(int channels, long rate, const std::vector<float>& interleaved, float quality,
                            const std::vector<std::string>& comments, int serial)
{
    const std::vector<std::uint8_t> bytes =
        tools::EncodeOggVorbis(channels, rate, interleaved, quality, serial, comments);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace korvane::test
