/** @file WaveFormat.h The PCM format record shared by the sound readers and the audio layer. */
#pragma once

#include <cstdint>

namespace os::audio
{

constexpr std::uint16_t kWaveFormatPcm = 1;

/// Field for field the platform's wave format record; read and written field by field, never copied as bytes.
struct WaveFormatEx
{
    std::uint16_t formatTag = 0; // 1 = PCM
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSec = 0;
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint16_t cbSize = 0; // bytes of extra format data that follow (none for PCM)
};

} // namespace os::audio
