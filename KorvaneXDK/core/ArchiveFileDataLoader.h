/** @file ArchiveFileDataLoader.h A data loader over the data archive, with a folder index for listings. */
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/StandardDataLoader.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace korvane {

/// Opens the archive in its constructor (a failure there propagates and no loader is made)
/// and indexes its names by folder. After construction it is only read, so it may be used
/// from several threads at once.
template <class TArchive> class TArchiveFileDataLoader : public CStandardDataLoader
{
public:
    explicit TArchiveFileDataLoader(const std::string& archivePath) : archive_(new TArchive())
    {
        archive_->Open(archivePath);
        BuildIndex();
    }

    IKorvaneStream* Open(const std::string& name) override { return archive_->OpenEntry(name); }
    bool Exists(const std::string& name) override { return archive_->Exists(name); }

    /// Appends whole lower-cased archive names, depth first in the order the entries first
    /// appear in the archive; folders are entered only when recursive is true.
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override
    {
        Enumerate(AppendBackslash(ToLowerString(directory)), recursive, out);
    }

    const TArchive& GetArchive() const { return *archive_; }

private:
    void Add(const std::string& key, const std::string& value)
    {
        index_.emplace(key, value);
    }

    void BuildIndex()
    {
        // Folder pairs already added, as parent + '\0' + folder (a name never holds a zero byte).
        std::set<std::string> folders;
        const int count = archive_->GetEntryCount();
        for (int i = 0; i < count; ++i) {
            const std::string name = ToLowerString(archive_->GetEntry(i)->GetName());
            const std::string directory = GetDirectory(name);
            Add(directory, name);
            // Register each folder on the way up once under its parent.
            std::string current = directory;
            for (;;) {
                std::string trimmed = current;
                if (!trimmed.empty() && trimmed.back() == '\\') {
                    trimmed.pop_back();
                }
                const std::string folder = GetFileName(trimmed);
                if (folder.empty()) {
                    break;
                }
                const std::string parent = GetDirectory(trimmed);
                if (folders.insert(parent + '\0' + folder).second) {
                    Add(parent, folder + "\\");
                }
                current = parent;
            }
        }
    }

    void Enumerate(const std::string& key, bool recursive, std::vector<std::string>& out) const
    {
        // Copy the values first: recursion must not depend on iterator lifetimes.
        std::vector<std::string> values;
        const auto range = index_.equal_range(key);
        for (auto it = range.first; it != range.second; ++it) {
            values.push_back(it->second);
        }
        for (const std::string& value : values) {
            if (value.empty()) {
                continue;
            }
            if (value.back() != '\\') {
                out.push_back(value);
            } else if (recursive) {
                Enumerate(key + value, true, out);
            }
        }
    }

    std::unique_ptr<TArchive> archive_;
    /// Lower-cased folder ("" for the top level, else with a trailing backslash) to the whole
    /// names of its files and the names of its sub-folders with a trailing backslash, in the
    /// order they were added.
    std::multimap<std::string, std::string> index_;
};

} // namespace korvane
