/** @file ArchiveCrc32.h The CRC-32 that guards each record of the data archive's entry table. */
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvane
{

/// The reflected CRC-32 of zlib and gzip (polynomial 0xEDB88320, start 0xFFFFFFFF, result
/// inverted). Pass the previous result as `crc` to continue over a further piece.
std::uint32_t ComputeArchiveCrc32(const void* data, std::size_t size, std::uint32_t crc = 0);

} // namespace korvane
