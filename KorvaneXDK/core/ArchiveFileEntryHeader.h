/** @file ArchiveFileEntryHeader.h One record of the data archive's entry table: name and fields. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "KorvaneXDK/core/ArchiveEntryHeader.h"

namespace korvane
{

class CArchiveFileEntryHeader : public CArchiveEntryHeader
{
public:
    CArchiveFileEntryHeader() = default;
    CArchiveFileEntryHeader(const std::string& name, std::int32_t offset, std::int32_t size, std::int32_t method,
                            std::int32_t auxiliary);
    CArchiveFileEntryHeader(const CArchiveFileEntryHeader&) = default;
    CArchiveFileEntryHeader& operator=(const CArchiveFileEntryHeader&) = default;

    /// The name as stored (not lower-cased).
    const std::string& GetName() const { return name_; }

    /// Reads one record from deciphered table bytes and returns the bytes it used.
    /// A record that does not fit in `size` is EInvalidFileFormat "invalid archive file entry
    /// header"; a CRC that does not match the name and fields is "file entry CRC error. data may
    /// be incorrect.".
    std::size_t Read(const std::uint8_t* data, std::size_t size);

private:
    std::string name_;
};

} // namespace korvane
