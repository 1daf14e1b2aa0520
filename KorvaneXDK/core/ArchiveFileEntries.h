/** @file ArchiveFileEntries.h The data archive's entry table in table order. */
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "KorvaneXDK/core/ArchiveFileEntryHeader.h"

namespace korvane
{

class CArchiveFileEntries : public virtual CObject
{
public:
    /// Replaces the records with those of a deciphered table. A wrong magic, or counts and
    /// lengths the table cannot hold, are EInvalidFileFormat "invalid archive file entry header".
    void Read(const std::uint8_t* data, std::size_t size);
    void Clear() { entries_.clear(); }

    std::size_t GetCount() const { return entries_.size(); }
    const CArchiveFileEntryHeader& operator[](std::size_t index) const { return entries_[index]; }
    std::vector<CArchiveFileEntryHeader>::const_iterator begin() const { return entries_.begin(); }
    std::vector<CArchiveFileEntryHeader>::const_iterator end() const { return entries_.end(); }

private:
    std::vector<CArchiveFileEntryHeader> entries_;
};

} // namespace korvane
