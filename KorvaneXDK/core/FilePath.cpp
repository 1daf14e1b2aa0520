/** @file FilePath.cpp Path pieces, existence tests and directory creation. */
#include "KorvaneXDK/core/FilePath.h"

#include <cerrno>
#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "KorvaneXDK/core/Log.h"
#include "os/system/System.h"

namespace korvane
{

namespace
{

/// The source name in this file's error lines.
constexpr const char* kSourceFile = "FilePath";

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::size_t LastSeparator(const std::string& path)
{
    return path.find_last_of("\\/");
}

// Removes "." and ".." pieces without touching the disk. Expects an absolute path with '/'.
std::string NormalizeAbsolute(const std::string& path)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string piece = path.substr(start, end - start);
        if (piece == "..") {
            if (!pieces.empty())
                pieces.pop_back();
        } else if (!piece.empty() && piece != ".")
            pieces.push_back(piece);
        start = end + 1;
    }
    std::string result;
    for (const auto& piece : pieces)
        result += "/" + piece;
    if (result.empty() || (!path.empty() && path.back() == '/'))
        result += "/";
    return result;
}

} // namespace

std::string ToSystemPath(const std::string& path)
{
    std::string result = path;
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

std::string GetModuleFilePath()
{
    return os::system::GetProgramPath();
}

std::string GetFullPath(const std::string& path)
{
    std::string system = ToSystemPath(path);
    if (system.empty() || system.front() != '/') {
        // Sized by the C library, so a deep current folder is not cut.
        std::unique_ptr<char, void (*)(void*)> cwd(getcwd(nullptr, 0), std::free);
        if (!cwd)
            return system;
        system = std::string(cwd.get()) + "/" + system;
    }
    return NormalizeAbsolute(system);
}

std::string GetExtension(const std::string& path)
{
    std::size_t sep = LastSeparator(path);
    std::size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart)
        return std::string();
    return path.substr(dot);
}

std::string GetDirectory(const std::string& path)
{
    std::size_t sep = LastSeparator(path);
    return sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
}

std::string GetFileName(const std::string& path)
{
    std::size_t sep = LastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string ReplaceExtension(const std::string& path, const std::string& extension)
{
    std::string stem = path.substr(0, path.size() - GetExtension(path).size());
    return stem + extension;
}

std::string AppendBackslash(const std::string& path)
{
    if (path.empty() || IsSeparator(path.back()))
        return path;
    return path + "\\";
}

std::string RemoveTrailingBackslash(const std::string& path)
{
    if (path.size() > 1 && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

bool FileExists(const std::string& path)
{
    struct stat info
    {};
    return !path.empty() && stat(ToSystemPath(path).c_str(), &info) == 0;
}

bool DirectoryExists(const std::string& path)
{
    std::string trimmed = RemoveTrailingBackslash(path);
    struct stat info
    {};
    return !trimmed.empty() && stat(ToSystemPath(trimmed).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void CreateDirectoryTree(const std::string& path)
{
    if (DirectoryExists(path))
        return;
    std::string built;
    std::string rest = path;
    std::size_t sep;
    while ((sep = rest.find_first_of("\\/")) != std::string::npos) {
        built += rest.substr(0, sep);
        if (!built.empty() && built.back() != ':' && !DirectoryExists(built)) {
            // EEXIST is success only when the entry is a directory (another process made it
            // meanwhile); a file in the way is a failure like any other.
            if (mkdir(ToSystemPath(built).c_str(), 0777) != 0) {
                const int error = errno;
                if (error != EEXIST || !DirectoryExists(built)) {
                    os::system::SetLastErrorFromErrno(error);
                    LogWin32Error(kSourceFile, __LINE__);
                }
            }
        }
        built += rest[sep];
        rest = rest.substr(sep + 1);
    }
}

} // namespace korvane
