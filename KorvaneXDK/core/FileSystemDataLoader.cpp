/** @file FileSystemDataLoader.cpp Loose files below a root folder as named data. */
#include "KorvaneXDK/core/FileSystemDataLoader.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "KorvaneXDK/core/FilePath.h"
#include "KorvaneXDK/core/FileStream.h"
#include "KorvaneXDK/core/Log.h"

namespace korvane
{

namespace
{

bool EndsWithSeparator(const std::string& path)
{
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

} // namespace

CFileSystemDataLoader::CFileSystemDataLoader(const std::string& root) : root_(GetFullPath(root))
{
    // Names are appended to the root as they are, so the root must end in a separator
    // ("data" and "a.png" must not become "dataa.png").
    if (!EndsWithSeparator(root_)) {
        root_ += "/";
    }
    LogInfo("FileSystemDataLoader: root path = " + root_);
}

IKorvaneStream* CFileSystemDataLoader::Open(const std::string& name)
{
    return new CFileStream(root_ + name, 1, 1);
}

bool CFileSystemDataLoader::Exists(const std::string& name)
{
    return FileExists(root_ + name);
}

void CFileSystemDataLoader::EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out)
{
    Enumerate(AppendBackslash(directory), recursive, out);
}

void CFileSystemDataLoader::Enumerate(const std::string& relative, bool recursive, std::vector<std::string>& out) const
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator it(ToSystemPath(root_ + relative), error);
    if (error) {
        return;
    }

    struct Item
    {
        std::string name;
        bool folder;
    };
    std::vector<Item> items;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) {
            break;
        }
        const std::string name = it->path().filename().string();
        std::error_code statusError;
        // symlink_status: a link to a folder is neither listed nor entered.
        const fs::file_status own = it->symlink_status(statusError);
        if (statusError) {
            continue;
        }
        if (fs::is_directory(own)) {
            items.push_back({name, true});
        } else if (fs::is_symlink(own)) {
            const fs::file_status target = it->status(statusError);
            if (!statusError && !fs::is_directory(target)) {
                items.push_back({name, false});
            }
        } else {
            items.push_back({name, false});
        }
    }
    // The order of a directory read is arbitrary on Linux; listings must be repeatable.
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.name < b.name; });

    for (const Item& item : items) {
        if (!item.folder) {
            out.push_back(relative + item.name);
        } else if (recursive && item.name.front() != '.') {
            Enumerate(relative + item.name + "\\", true, out);
        }
    }
}

} // namespace korvane
