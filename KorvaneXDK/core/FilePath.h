/** @file FilePath.h Path pieces, existence tests and directory creation. */
#pragma once

#include <string>

namespace korvane
{

/// The program's separator is the backslash; path splitting accepts both separators and
/// every file-system call goes through ToSystemPath, which turns backslashes into slashes.
std::string ToSystemPath(const std::string& path);

std::string GetModuleFilePath();
std::string GetFullPath(const std::string& path);
std::string GetExtension(const std::string& path);
std::string GetDirectory(const std::string& path);
std::string GetFileName(const std::string& path);
std::string ReplaceExtension(const std::string& path, const std::string& extension);
std::string AppendBackslash(const std::string& path);
std::string RemoveTrailingBackslash(const std::string& path);
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
void CreateDirectoryTree(const std::string& path);

} // namespace korvane
