/** @file MemoryDataLoader.h A data loader over files held in memory, listed in the order they were added. */
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "KorvaneXDK/core/StandardDataLoader.h"

namespace korvane::test
{

/// Names use backslashes or slashes and match without regard to case, as in the archive.
/// EnumerateFiles lists a folder's files (recursive: and those below) in insertion order, with
/// their names as added. A missing file throws EFileOpenError "file entry not found: ...".
class MemoryDataLoader : public CStandardDataLoader
{
public:
    /// Adds a file, or replaces the contents of one of the same name (keeping its place).
    void Add(const std::string& name, const std::string& bytes);

    IKorvaneStream* Open(const std::string& name) override;
    bool Exists(const std::string& name) override;
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override;

    /// Every name opened, in order.
    std::vector<std::string> opened;

private:
    static std::string Key(const std::string& name);
    const std::pair<std::string, std::string>* Find(const std::string& name) const;

    std::vector<std::pair<std::string, std::string>> files_;
};

} // namespace korvane::test
