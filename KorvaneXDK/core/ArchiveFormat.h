/** @file ArchiveFormat.h Constants of the data archive's file format, shared by its reader and its packer. */
#pragma once

#include <cstdint>

namespace korvane::archive
{

/// File header: magic, uint32 table length, 32-byte table counter block, 32-byte table seed.
inline constexpr char kFileMagic[] = "KorvaneArcFine";
inline constexpr int kFileMagicSize = 14;
inline constexpr int kCounterBlockSize = 32;
inline constexpr int kSeedSize = 32;
inline constexpr int kCounterSize = 16; ///< only the first 16 bytes of a counter block are used
inline constexpr int kHeaderSize = kFileMagicSize + 4 + kCounterBlockSize + kSeedSize; // 82

/// Deciphered entry table: magic, int32 count, then the records.
inline constexpr char kTableMagic[] = "KorvaneArchiveEntry";
inline constexpr int kTableMagicSize = 19;
/// Smallest record: name length, empty name, four fields and the CRC.
inline constexpr int kMinRecordSize = 4 + 4 * 4 + 4;

/// SHA-256 computations that turn a seed into an AES-256 key.
inline constexpr int kTableKeyHashes = 382;
inline constexpr int kEntryKeyHashes = 128;

/// Key block at the start of an enciphered entry: two seeds and a counter block.
inline constexpr int kEntryKeyBlockSize = 96;

/// Storage methods of an entry.
inline constexpr std::int32_t kMethodStored = 0;
inline constexpr std::int32_t kMethodCompressed = 0x1;
inline constexpr std::int32_t kMethodEnciphered = 0x100;
inline constexpr std::int32_t kMethodEncipheredCompressed = 0x101;

/// Largest decoded entry the reader builds in memory; keeps a small gzip bomb harmless.
inline constexpr std::int64_t kMaxDecodedEntrySize = std::int64_t(512) * 1024 * 1024;

} // namespace korvane::archive
