/** @file TempDir.h A fresh folder under the system's temporary folder, removed with its contents. */
#pragma once

#include <string>

namespace korvane::test
{

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    /// The folder's path with a trailing '/'.
    const std::string& Path() const { return path_; }
    /// Path() + name.
    std::string File(const std::string& name) const { return path_ + name; }

    /// Writes bytes to a file in the folder (creating sub-folders) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    /// Reads a whole file; throws std::runtime_error when it cannot be read.
    static std::string Read(const std::string& path);

private:
    std::string path_;
};

} // namespace korvane::test
