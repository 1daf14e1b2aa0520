/** @file ArchiveCrc32.cpp The archive's CRC-32 with its table built once. */
#include "KorvaneXDK/core/ArchiveCrc32.h"

#include <array>

namespace korvane
{

namespace
{

constexpr std::array<std::uint32_t, 256> MakeTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        }
        table[i] = c;
    }
    return table;
}

// Built at compile time, so the first use from several threads needs no lock.
constexpr std::array<std::uint32_t, 256> kTable = MakeTable();

} // namespace

std::uint32_t ComputeArchiveCrc32(const void* data, std::size_t size, std::uint32_t crc)
{
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t c = crc ^ 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        c = kTable[(c ^ bytes[i]) & 0xFFu] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFu;
}

} // namespace korvane
