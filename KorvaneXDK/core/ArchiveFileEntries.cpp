/** @file ArchiveFileEntries.cpp Reading the deciphered entry table. */
#include "KorvaneXDK/core/ArchiveFileEntries.h"

#include <stdexcept>

#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/Exception.h"
#include "os/system/ByteReader.h"

namespace korvane
{

void CArchiveFileEntries::Read(const std::uint8_t* data, std::size_t size)
{
    static const char* const kTableError = "invalid archive file entry header";
    entries_.clear();
    os::system::ByteReader table(data, size);
    std::int32_t count = 0;
    try {
        table.Expect(archive::kTableMagic, archive::kTableMagicSize);
        count = table.ReadI32();
    } catch (const std::runtime_error&) {
        throw EInvalidFileFormat(this, kTableError);
    }
    if (count <= 0) {
        return;
    }
    // Every record takes at least 24 bytes, so a count the table cannot hold is refused
    // before anything is reserved for it.
    if (std::uint64_t(count) > table.Remaining() / archive::kMinRecordSize) {
        throw EInvalidFileFormat(this, kTableError);
    }
    entries_.reserve(std::size_t(count));
    for (std::int32_t i = 0; i < count; ++i) {
        // A record whose name would run past the end of the table is a damaged table, not a
        // damaged record: it fails here, before the record reads a byte of it.
        const std::size_t left = table.Remaining();
        if (left < archive::kMinRecordSize) {
            throw EInvalidFileFormat(this, kTableError);
        }
        const auto nameLength = static_cast<std::int32_t>(table.U32At(table.Position()));
        if (nameLength < 0 || std::uint64_t(nameLength) > left - archive::kMinRecordSize) {
            throw EInvalidFileFormat(this, kTableError);
        }
        CArchiveFileEntryHeader entry;
        table.Skip(entry.Read(data + table.Position(), left));
        entries_.push_back(entry);
    }
}

} // namespace korvane
