/** @file IArchiveFileLoader.h What the archive data loader needs of an archive reader. */
#pragma once

#include <cstdint>
#include <string>

#include "KorvaneXDK/core/ArchiveFileEntryHeader.h"
#include "KorvaneXDK/core/KorvaneStream.h"
#include "KorvaneXDK/core/Object.h"

namespace korvane
{

/// What the archive data loader needs of an archive reader.
class IArchiveFileLoader : public IInterface
{
public:
    virtual void Open(const std::string& path) = 0;
    virtual std::int32_t GetEntryCount() const = 0;
    virtual const CArchiveFileEntryHeader* GetEntry(std::int32_t index) const = 0;
    virtual IKorvaneStream* OpenEntry(const std::string& name) const = 0;
    virtual bool Exists(const std::string& name) const = 0;
};

} // namespace korvane
