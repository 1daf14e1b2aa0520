/** @file OggTone.cpp Encodes a known tone with libvorbisenc. */
#include "OggTone.h"

#include <cmath>

#include "support/AudioTestData.h"

namespace korvane::test {

OggTone EncodeTone(int channels, long rate, long frames, double frequency, const std::vector<std::string>& comments)
{
    OggTone tone;
    tone.channels = channels;
    tone.rate = rate;
    tone.frames = frames;
    tone.samples.resize(static_cast<std::size_t>(frames * channels));
    for (long i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            tone.samples[static_cast<std::size_t>(i * channels + c)] =
                static_cast<float>(0.5 * std::sin(2.0 * M_PI * frequency * (c + 1) * static_cast<double>(i) / rate));

    tone.bytes = EncodeOggVorbis(channels, rate, tone.samples, 0.6f, comments, 1234);
    return tone;
}

} // namespace korvane::test
