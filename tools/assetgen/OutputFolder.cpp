/** @file OutputFolder.cpp Writing generated files atomically below the output folder. */
#include "tools/assetgen/OutputFolder.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "os/system/AtomicFile.h"
#include "os/system/System.h"

namespace assetgen
{

namespace fs = std::filesystem;

OutputFolder::OutputFolder(std::string root) : root_(std::move(root)) {}

void OutputFolder::Write(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    Write(name, std::string(bytes.begin(), bytes.end()));
}

void OutputFolder::Write(const std::string& name, const std::string& bytes)
{
    std::string relative = name;
    std::replace(relative.begin(), relative.end(), '\\', '/');
    const fs::path path = fs::path(root_) / relative;
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error) {
        throw std::runtime_error("cannot create '" + path.parent_path().string() + "': " + error.message());
    }
    if (!os::system::WriteFileAtomically(path.string(), bytes.data(), bytes.size())) {
        throw std::runtime_error("cannot write '" + path.string() + "': " + os::system::GetLastErrorText());
    }
    names_.push_back(name);
    totalBytes_ += bytes.size();
}

} // namespace assetgen
