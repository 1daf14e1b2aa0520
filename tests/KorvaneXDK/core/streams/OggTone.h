/** @file OggTone.h Encodes a known tone with libvorbisenc so the tests decode data they made themselves. */
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace korvane::test {

struct OggTone
{
    std::string bytes;                 ///< the Ogg Vorbis file
    std::vector<float> samples;        ///< what was encoded, interleaved, -1..1
    int channels = 0;
    long rate = 0;
    long frames = 0;
};

/// A sine tone (left `frequency` Hz, right twice that) of `frames` sample frames, with the
/// given comments ("KEY=value").
OggTone EncodeTone(int channels, long rate, long frames, double frequency,
                   const std::vector<std::string>& comments = {});

} // namespace korvane::test
