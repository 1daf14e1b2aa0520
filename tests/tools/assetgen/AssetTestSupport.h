/** @file AssetTestSupport.h The table of loaded names and the built archive, shared by the asset tests. */
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KorvaneXDK/core/ArchiveFileDataLoader.h"
#include "KorvaneXDK/core/ArchiveFileLoader.h"

namespace assettest
{

/// One row of tools/assetgen/loaded-names.txt.
struct NameRow
{
    int line = 0;
    std::string kind;
    std::string name;
    std::vector<std::string> values;
    std::string until; ///< folder made by a tool that may not have landed yet ("" for none)
};

std::vector<NameRow> ReadNameTable();
std::vector<NameRow> RowsOfKind(const std::vector<NameRow>& rows, const std::string& kind);

using ArchiveLoader = korvane::TArchiveFileDataLoader<korvane::CArchiveFileLoader>;

/// The data.kva the build packed.
inline constexpr const char* kBuiltArchive = KORVANE_BINARY_DIR "/bin/data.kva";

/// The whole entry; throws the loader's exception when it is missing.
std::string ReadEntry(ArchiveLoader& loader, const std::string& name);
/// The entry's stream, at its start.
std::unique_ptr<korvane::IKorvaneStream> EntryStream(ArchiveLoader& loader, const std::string& name);

} // namespace assettest
