/** @file ArchiveFileDataLoader.h A data loader over the data archive, with a folder index for listings. */
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/StandardDataLoader.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace korvane
{

/// Opens the archive in its constructor (a failure there propagates and no loader is made)
/// and indexes its names by folder; names nested so deeply that the index would take more
/// than 64 bytes per byte of name are EInvalidFileFormat "archive folders nest too deeply".
/// After construction it is only read, so it may be used from several threads at once.
template <class TArchive>
class TArchiveFileDataLoader : public CStandardDataLoader
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
        indexBytes_ += key.size() + value.size();
        if (indexBytes_ > indexBudget_) {
            throw EInvalidFileFormat(this, "archive folders nest too deeply");
        }
        index_.emplace(key, value);
    }

    void BuildIndex()
    {
        // Every folder of a name is stored with its whole path, so a name nested n folders
        // deep costs about n times its length. Real data stays far below this budget; a
        // crafted name thousands of folders deep would otherwise take gigabytes.
        const int count = archive_->GetEntryCount();
        std::uint64_t nameBytes = 0;
        for (int i = 0; i < count; ++i) {
            nameBytes += archive_->GetEntry(i)->GetName().size();
        }
        indexBudget_ = kIndexBytesPerNameByte * nameBytes + kIndexBytesBase;

        // Folder pairs already added, as parent + '\0' + folder (a name never holds a zero byte).
        std::set<std::string> folders;
        for (int i = 0; i < count; ++i) {
            const std::string name = ToLowerString(archive_->GetEntry(i)->GetName());
            const std::string directory = GetDirectory(name);
            Add(directory, name);
            // Register each folder on the way up once under its parent. Once a pair is
            // already there, the walk that added it went on to the top, so this one can stop.
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
                if (!folders.insert(parent + '\0' + folder).second) {
                    break;
                }
                Add(parent, folder + "\\");
                current = parent;
            }
        }
    }

    void Enumerate(const std::string& directory, bool recursive, std::vector<std::string>& out) const
    {
        // Depth first with an explicit stack: an archive's folders may nest deeper than the
        // call stack could follow. The index is not changed after construction, so its
        // iterators stay valid throughout.
        using Iterator = typename std::multimap<std::string, std::string>::const_iterator;
        struct Level
        {
            Iterator next;
            Iterator end;
            std::size_t keyLength;
        };
        std::string key = directory;
        std::vector<Level> stack;
        const auto top = index_.equal_range(key);
        stack.push_back({top.first, top.second, key.size()});
        while (!stack.empty()) {
            Level& level = stack.back();
            if (level.next == level.end) {
                stack.pop_back();
                continue;
            }
            const std::string& value = level.next->second;
            ++level.next;
            if (value.empty()) {
                continue;
            }
            if (value.back() != '\\') {
                out.push_back(value);
            } else if (recursive) {
                key.resize(level.keyLength);
                key += value;
                const auto range = index_.equal_range(key);
                stack.push_back({range.first, range.second, key.size()});
            }
        }
    }

    static constexpr std::uint64_t kIndexBytesPerNameByte = 64;
    static constexpr std::uint64_t kIndexBytesBase = 1024 * 1024;

    std::unique_ptr<TArchive> archive_;
    /// Lower-cased folder ("" for the top level, else with a trailing backslash) to the whole
    /// names of its files and the names of its sub-folders with a trailing backslash, in the
    /// order they were added.
    std::multimap<std::string, std::string> index_;
    std::uint64_t indexBytes_ = 0;
    std::uint64_t indexBudget_ = 0;
};

} // namespace korvane
