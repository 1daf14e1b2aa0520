/** @file DefinitionCheck.cpp The build-time check of the skin definitions. */
#include "tools/skingen/DefinitionCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace skingen
{

namespace
{

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return text;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

std::vector<std::string> CheckDefinitions(const std::string& folder, const std::set<std::string>& images)
{
    std::vector<std::string> problems;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file() && Lower(entry.path().extension().string()) == ".ini") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    if (files.empty()) {
        problems.push_back(folder + " holds no definition");
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream whole;
        whole << in.rdbuf();
        std::string line;
        std::istringstream lines(whole.str());
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            const std::size_t equals = line.find('=');
            if (line.empty() || line[0] == ';' || equals == std::string::npos) {
                continue;
            }
            const std::string key = line.substr(0, equals);
            const std::string value = line.substr(equals + 1);
            if (EndsWith(key, "Texture") && images.count(value) == 0) {
                problems.push_back(file.filename().string() + ": " + key + " names '" + value +
                                   "', which the skin generator does not make");
            }
        }
    }
    return problems;
}

} // namespace skingen
