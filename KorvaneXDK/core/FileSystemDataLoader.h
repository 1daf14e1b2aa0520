/** @file FileSystemDataLoader.h A data loader over a folder of loose files. */
#pragma once

#include "KorvaneXDK/core/StandardDataLoader.h"

namespace korvane
{

/// Names are relative to the root folder, with the backslash (or slash) between folders.
/// Holds no open handle between calls.
class CFileSystemDataLoader : public CStandardDataLoader
{
public:
    /// Makes the root absolute (a separator is added when it has none at its end) and logs it.
    explicit CFileSystemDataLoader(const std::string& root);

    /// A CFileStream (read, share read) on root + name; EFileOpenError when missing or a folder.
    IKorvaneStream* Open(const std::string& name) override;
    bool Exists(const std::string& name) override;
    /// Lists root + directory sorted by name. Names come back below the root in the file
    /// system's case with backslashes. Hidden folders (leading ".") and symbolic links to
    /// folders are not entered, so a link loop cannot recurse for ever.
    void EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out) override;

    const std::string& GetRootPath() const { return root_; }

private:
    void Enumerate(const std::string& relative, bool recursive, std::vector<std::string>& out) const;

    std::string root_;
};

} // namespace korvane
