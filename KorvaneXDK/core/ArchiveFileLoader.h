/** @file ArchiveFileLoader.h Reads the enciphered, compressed data archive and opens its entries as streams. */
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "KorvaneXDK/core/ArchiveFileEntries.h"
#include "KorvaneXDK/core/ArchiveFormat.h"
#include "KorvaneXDK/core/IArchiveFileLoader.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// Reads the header and the entry table of an archive once; then opens any entry by name in
/// any letter case (ASCII), as a window onto the file (stored entries) or decoded into a memory
/// stream. After Open the loader is only read, and every entry open uses a file handle of its
/// own, so entries may be opened from several threads at once; Open itself must run alone.
class CArchiveFileLoader : public IArchiveFileLoader, public virtual CNonCopyable
{
public:
    CArchiveFileLoader();
    ~CArchiveFileLoader() override;

    /// Reads the archive; may be called again and rebuilds everything. A failure leaves the
    /// loader empty until an Open succeeds.
    void Open(const std::string& path) override;
    std::int32_t GetEntryCount() const override;
    /// The record at an index in table order; EInvalidParameter when out of range.
    const CArchiveFileEntryHeader* GetEntry(std::int32_t index) const override;
    /// A new stream over the named entry, owned by the caller; EFileOpenError "file entry not
    /// found: \"name\"" when the archive has no such entry.
    IKorvaneStream* OpenEntry(const std::string& name) const override;
    bool Exists(const std::string& name) const override;

    virtual IKorvaneStream* OpenStoredEntry(const CArchiveEntryHeader& entry) const;
    virtual IKorvaneStream* OpenEncipheredEntry(const CArchiveEntryHeader& entry) const;
    virtual IKorvaneStream* OpenCompressedEntry(const CArchiveEntryHeader& entry) const;
    virtual IKorvaneStream* OpenEncipheredCompressedEntry(const CArchiveEntryHeader& entry) const;

    /// Largest decoded (decompressed) entry; larger ones fail with EInvalidFileFormat before
    /// more is stored. 512 MiB, which is also the most this can be set to.
    void SetDecodedSizeLimit(std::int64_t bytes);
    std::int64_t GetDecodedSizeLimit() const { return decodedSizeLimit_; }

    const std::string& GetPath() const { return path_; }
    /// File offset of the data area that entry offsets count from.
    std::int32_t GetDataBase() const { return dataBase_; }

private:
    void Reset();
    /// Checks that an entry's stored bytes lie inside the archive file.
    void CheckRange(const CArchiveEntryHeader& entry) const;

    std::string path_;
    CArchiveFileEntries entries_;
    std::map<std::string, CArchiveEntryHeader> map_;
    std::int32_t dataBase_ = 0;
    std::int64_t fileSize_ = 0;
    std::int64_t decodedSizeLimit_ = archive::kMaxDecodedEntrySize;
};

} // namespace korvane
