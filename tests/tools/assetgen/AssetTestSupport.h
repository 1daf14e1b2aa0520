/** @file AssetTestSupport.h The table of loaded names, the built archive and decoders shared by the asset tests. */
#pragma once

#include <cstdint>
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
std::unique_ptr<ArchiveLoader> OpenBuiltArchive();

/// The whole entry; throws the loader's exception when it is missing.
std::string ReadEntry(ArchiveLoader& loader, const std::string& name);
/// The entry's stream, at its start.
std::unique_ptr<korvane::IKorvaneStream> EntryStream(ArchiveLoader& loader, const std::string& name);
/// True when the archive holds anything below the folder.
bool FolderLanded(ArchiveLoader& loader, const std::string& folder);

struct DecodedImage
{
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;
    std::uint8_t AlphaAt(int x, int y) const { return rgba[(static_cast<std::size_t>(y) * width + x) * 4 + 3]; }
};

/// Decodes a PNG to RGBA; an empty image (width 0) when the bytes are not a readable PNG.
DecodedImage DecodePng(const std::string& bytes);

} // namespace assettest
