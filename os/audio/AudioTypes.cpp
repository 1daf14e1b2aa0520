/** @file AudioTypes.cpp The PCM format check. */
#include "os/audio/AudioTypes.h"

namespace os::audio
{

bool IsValidPcmFormat(const WaveFormatEx& format)
{
    if (format.formatTag != kWaveFormatPcm)
        return false;
    if (format.channels < 1 || format.channels > 2)
        return false;
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return false;
    if (format.samplesPerSec < kFrequencyMin || format.samplesPerSec > kFrequencyMax)
        return false;
    const std::uint32_t blockAlign = format.channels * format.bitsPerSample / 8u;
    if (format.blockAlign != blockAlign)
        return false;
    return format.avgBytesPerSec == blockAlign * format.samplesPerSec;
}

} // namespace os::audio
