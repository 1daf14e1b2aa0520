/** @file AudioTestData.h Sound data made by the tests themselves: PCM formats and Ogg Vorbis files. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "os/audio/WaveFormat.h"

namespace korvane::test
{

/// A PCM format record with block align and byte rate filled in.
os::audio::WaveFormatEx PcmFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits);

/// Encodes interleaved samples (-1..1) into a complete Ogg Vorbis file with the tools' encoder
/// (tools/common/OggEncoder.h). `comments` are "KEY=value" texts.
std::string EncodeOggVorbis(int channels, long rate, const std::vector<float>& interleaved, float quality,
                            const std::vector<std::string>& comments = {}, int serial = 1);

} // namespace korvane::test
