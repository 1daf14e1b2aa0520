/** @file OggFile.h Ogg Vorbis encoding of the music. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen
{

/// Encodes stereo samples (-1..1, one vector per channel, equal lengths) as Ogg Vorbis at a
/// fixed quality and stream serial number, with the given "KEY=value" comments. The last page's
/// granule position is the exact frame count, so decoders return exactly the frames given.
std::vector<std::uint8_t> EncodeOggVorbis(const std::vector<float>& left, const std::vector<float>& right, int rate,
                                          float quality, int serial, const std::vector<std::string>& comments);

} // namespace assetgen
