/** @file OggEncoder.h Ogg Vorbis encoding through libvorbisenc, shared by the generated music and the tests' sounds. */
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tools
{

/// A complete Ogg Vorbis file of interleaved samples (-1..1, `channels` per frame) at the given VBR quality, with
/// the stream serial number and "KEY=value" comments. The same input always gives the same bytes, and the last
/// page's granule position is the exact frame count, so decoders return exactly the frames given. Throws
/// std::invalid_argument when there are no channels or the samples end inside a frame, std::runtime_error when
/// libvorbisenc refuses the rate or quality.
std::vector<std::uint8_t> EncodeOggVorbis(int channels, long rate, std::span<const float> interleaved, float quality,
                                          int serial, const std::vector<std::string>& comments);

} // namespace tools
