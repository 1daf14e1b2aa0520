/** @file ArchiveFileEntryHeader.cpp Reading and checking one entry record. */
#include "KorvaneXDK/core/ArchiveFileEntryHeader.h"

#include <cstring>

#include "KorvaneXDK/core/ArchiveCrc32.h"
#include "KorvaneXDK/core/Exception.h"
#include "os/system/ByteReader.h"

namespace korvane
{

CArchiveFileEntryHeader::CArchiveFileEntryHeader(const std::string& name, std::int32_t offset, std::int32_t size,
                                                 std::int32_t method, std::int32_t auxiliary)
    : CArchiveEntryHeader(offset, size, method, auxiliary), name_(name)
{}

std::size_t CArchiveFileEntryHeader::Read(const std::uint8_t* data, std::size_t size)
{
    static const char* const kTableError = "invalid archive file entry header";
    os::system::ByteReader record(data, size);
    // The name, four fields and the CRC must all lie inside the table.
    const std::int32_t nameLength = size < 4 ? -1 : record.ReadI32();
    if (nameLength < 0 || std::uint64_t(nameLength) + 24 > size) {
        throw EInvalidFileFormat(this, kTableError);
    }
    const std::uint8_t* name = record.ReadBytes(std::size_t(nameLength));
    const std::uint8_t* fields = data + record.Position();
    const std::int32_t offset = record.ReadI32();
    const std::int32_t storedSize = record.ReadI32();
    const std::int32_t method = record.ReadI32();
    const std::int32_t auxiliary = record.ReadI32();
    const std::uint32_t storedCrc = record.ReadU32();

    std::uint32_t crc = ComputeArchiveCrc32(name, std::size_t(nameLength));
    crc = ComputeArchiveCrc32(fields, 16, crc);
    if (crc != storedCrc) {
        throw EInvalidFileFormat(this, "file entry CRC error. data may be incorrect.");
    }

    // Names are stream strings: the text ends at the first zero byte.
    const void* zero = std::memchr(name, 0, std::size_t(nameLength));
    const std::size_t textLength =
        zero ? std::size_t(static_cast<const std::uint8_t*>(zero) - name) : std::size_t(nameLength);
    name_.assign(reinterpret_cast<const char*>(name), textLength);
    offset_ = offset;
    size_ = storedSize;
    method_ = method;
    auxiliary_ = auxiliary;
    return record.Position();
}

} // namespace korvane
