/** @file WaveFile.h RIFF WAVE files of 16-bit PCM. */
#pragma once

#include <cstdint>
#include <vector>

namespace assetgen
{

/// A canonical WAVE file ("fmt " of 16 bytes, then "data") of interleaved samples in -1..1,
/// rounded to 16 bits.
std::vector<std::uint8_t> EncodeWave16(const std::vector<float>& interleaved, int channels, int rate);

} // namespace assetgen
