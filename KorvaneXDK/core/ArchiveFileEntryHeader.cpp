/** @file ArchiveFileEntryHeader.cpp Reading and checking one entry record. */
#include "KorvaneXDK/core/ArchiveFileEntryHeader.h"

#include <cstring>

#include "KorvaneXDK/core/ArchiveCrc32.h"
#include "KorvaneXDK/core/Exception.h"

namespace korvane
{

namespace
{

std::uint32_t LoadUInt32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}

} // namespace

CArchiveFileEntryHeader::CArchiveFileEntryHeader(const std::string& name, std::int32_t offset, std::int32_t size,
                                                 std::int32_t method, std::int32_t auxiliary)
    : CArchiveEntryHeader(offset, size, method, auxiliary), name_(name)
{}

std::size_t CArchiveFileEntryHeader::Read(const std::uint8_t* data, std::size_t size)
{
    static const char* const kTableError = "invalid archive file entry header";
    if (size < 4) {
        throw EInvalidFileFormat(this, kTableError);
    }
    const auto nameLength = static_cast<std::int32_t>(LoadUInt32(data));
    // The name, four fields and the CRC must all lie inside the table.
    if (nameLength < 0 || std::uint64_t(nameLength) + 24 > size) {
        throw EInvalidFileFormat(this, kTableError);
    }
    const std::uint8_t* name = data + 4;
    const std::uint8_t* fields = name + nameLength;
    const std::uint32_t storedCrc = LoadUInt32(fields + 16);

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
    offset_ = static_cast<std::int32_t>(LoadUInt32(fields));
    size_ = static_cast<std::int32_t>(LoadUInt32(fields + 4));
    method_ = static_cast<std::int32_t>(LoadUInt32(fields + 8));
    auxiliary_ = static_cast<std::int32_t>(LoadUInt32(fields + 12));
    return 4 + std::size_t(nameLength) + 20;
}

} // namespace korvane
