/** @file MemoryDataLoader.cpp The in-memory data loader. */
#include "support/MemoryDataLoader.h"

#include <algorithm>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/MemoryStream.h"

namespace korvane::test
{

std::string MemoryDataLoader::Key(const std::string& name)
{
    std::string key = name;
    for (char& c : key) {
        c = c == '/' ? '\\' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

const std::pair<std::string, std::string>* MemoryDataLoader::Find(const std::string& name) const
{
    const auto found = std::find_if(files_.begin(), files_.end(),
                                    [key = Key(name)](const auto& file) { return Key(file.first) == key; });
    return found != files_.end() ? &*found : nullptr;
}

void MemoryDataLoader::Add(const std::string& name, const std::string& bytes)
{
    if (auto* file = const_cast<std::pair<std::string, std::string>*>(Find(name))) {
        file->second = bytes;
        return;
    }
    files_.emplace_back(name, bytes);
}

IKorvaneStream* MemoryDataLoader::Open(const std::string& name)
{
    opened.push_back(name);
    const auto* file = Find(name);
    if (file == nullptr) {
        throw EFileOpenError(this, "file entry not found: \"" + name + "\"");
    }
    auto* stream = new CMemoryStream();
    stream->Write(file->second.data(), static_cast<std::int32_t>(file->second.size()));
    stream->Seek(0);
    return stream;
}

bool MemoryDataLoader::Exists(const std::string& name)
{
    return Find(name) != nullptr;
}

void MemoryDataLoader::EnumerateFiles(const std::string& directory, bool recursive, std::vector<std::string>& out)
{
    std::string prefix = Key(directory);
    if (!prefix.empty() && prefix.back() != '\\') {
        prefix += '\\';
    }
    for (const auto& file : files_) {
        const std::string key = Key(file.first);
        if (key.starts_with(prefix) && (recursive || key.find('\\', prefix.size()) == std::string::npos)) {
            out.push_back(file.first);
        }
    }
}

} // namespace korvane::test
