/** @file OutputFolder.h The folder the generators write into, named by archive paths. */
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen
{

/// Writes generated files below one folder. Names are archive names ("se_qvr2\01.wav"):
/// backslashes become folders. Each file is written to a temporary file beside it, flushed and
/// renamed, so an interrupted run never leaves a torn file behind.
class OutputFolder
{
public:
    explicit OutputFolder(std::string root);

    void Write(const std::string& name, const std::vector<std::uint8_t>& bytes);
    void Write(const std::string& name, const std::string& bytes);

    /// The archive names written so far, in order.
    const std::vector<std::string>& GetNames() const { return names_; }
    std::uint64_t GetTotalBytes() const { return totalBytes_; }

private:
    std::string root_;
    std::vector<std::string> names_;
    std::uint64_t totalBytes_ = 0;
};

} // namespace assetgen
