/** @file ArchiveEntryHeader.h Where and how one entry of the data archive is stored. */
#pragma once

#include <cstdint>

#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// The four 32-bit fields of an entry record.
class CArchiveEntryHeader : public virtual CObject
{
public:
    CArchiveEntryHeader() = default;
    CArchiveEntryHeader(std::int32_t offset, std::int32_t size, std::int32_t method, std::int32_t auxiliary);
    CArchiveEntryHeader(const CArchiveEntryHeader&) = default;
    CArchiveEntryHeader& operator=(const CArchiveEntryHeader&) = default;

    /// Start of the stored bytes, counted from the archive's data base.
    std::int32_t GetOffset() const { return offset_; }
    /// Number of stored bytes (for enciphered entries including the 96-byte key block).
    std::int32_t GetSize() const { return size_; }
    std::int32_t GetMethod() const { return method_; }
    /// Carried with the entry and never interpreted by the reader; the project's packer
    /// stores the unpacked size here.
    std::int32_t GetAuxiliary() const { return auxiliary_; }

protected:
    std::int32_t offset_ = 0;
    std::int32_t size_ = 0;
    std::int32_t method_ = 0;
    std::int32_t auxiliary_ = 0;
};

} // namespace korvane
