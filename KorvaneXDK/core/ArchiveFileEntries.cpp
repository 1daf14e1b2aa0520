/** @file ArchiveFileEntries.cpp Reading the deciphered entry table. */
#include "KorvaneXDK/core/ArchiveFileEntries.h"

#include <cstring>

#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

void CArchiveFileEntries::Read(const std::uint8_t* data, std::size_t size)
{
    static const char* const kTableError = "invalid archive file entry header";
    entries_.clear();
    if (size < std::size_t(archive::kTableMagicSize) ||
        std::memcmp(data, archive::kTableMagic, archive::kTableMagicSize) != 0) {
        throw EInvalidFileFormat(this, kTableError);
    }
    std::size_t position = archive::kTableMagicSize;
    if (size - position < 4) {
        throw EInvalidFileFormat(this, kTableError);
    }
    const std::int32_t count = static_cast<std::int32_t>(
        std::uint32_t(data[position]) | (std::uint32_t(data[position + 1]) << 8) |
        (std::uint32_t(data[position + 2]) << 16) | (std::uint32_t(data[position + 3]) << 24));
    position += 4;
    if (count <= 0) {
        return;
    }
    // Every record takes at least 24 bytes, so a count the table cannot hold is refused
    // before anything is reserved for it.
    if (std::uint64_t(count) > (size - position) / archive::kMinRecordSize) {
        throw EInvalidFileFormat(this, kTableError);
    }
    entries_.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        // A record whose name would run past the end of the table is a damaged table, not a
        // damaged record: it fails here, before the record reads a byte of it.
        const std::size_t left = size - position;
        if (left < archive::kMinRecordSize) {
            throw EInvalidFileFormat(this, kTableError);
        }
        const auto nameLength = static_cast<std::int32_t>(
            std::uint32_t(data[position]) | (std::uint32_t(data[position + 1]) << 8) |
            (std::uint32_t(data[position + 2]) << 16) | (std::uint32_t(data[position + 3]) << 24));
        if (nameLength < 0 || std::uint64_t(nameLength) > left - archive::kMinRecordSize) {
            throw EInvalidFileFormat(this, kTableError);
        }
        CArchiveFileEntryHeader entry;
        position += entry.Read(data + position, left);
        entries_.push_back(entry);
    }
}

} // namespace korvane
