/** @file AssetTestSupport.cpp Reading the name table and the built archive. */
#include "AssetTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assettest
{

std::vector<NameRow> ReadNameTable()
{
    std::ifstream in(ASSETGEN_NAME_TABLE);
    if (!in)
        throw std::runtime_error("cannot read " ASSETGEN_NAME_TABLE);
    std::vector<NameRow> rows;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::istringstream words(text);
        NameRow row;
        row.line = line;
        if (!(words >> row.kind) || row.kind[0] == '#')
            continue;
        words >> row.name;
        for (std::string word; words >> word;) {
            if (word.rfind("until=", 0) == 0)
                row.until = word.substr(6);
            else
                row.values.push_back(word);
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<NameRow> RowsOfKind(const std::vector<NameRow>& rows, const std::string& kind)
{
    std::vector<NameRow> out;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(out), [&](const NameRow& r) { return r.kind == kind; });
    return out;
}

std::string ReadEntry(ArchiveLoader& loader, const std::string& name)
{
    const auto stream = EntryStream(loader, name);
    std::string bytes(static_cast<std::size_t>(stream->GetSize()), '\0');
    bytes.resize(static_cast<std::size_t>(std::max(stream->Read(bytes.data(), stream->GetSize()), 0)));
    return bytes;
}

std::unique_ptr<korvane::IKorvaneStream> EntryStream(ArchiveLoader& loader, const std::string& name)
{
    return std::unique_ptr<korvane::IKorvaneStream>(loader.Open(name));
}

} // namespace assettest
