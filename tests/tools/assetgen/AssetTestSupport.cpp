/** @file AssetTestSupport.cpp Reading the name table, the built archive, PNGs and font glyph tables. */
#include "AssetTestSupport.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/StringUtility.h"

namespace assettest
{

std::vector<NameRow> ReadNameTable()
{
    const std::string path = ASSETGEN_NAME_TABLE;
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<NameRow> rows;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        std::istringstream words(text);
        NameRow row;
        row.line = line;
        if (!(words >> row.kind) || row.kind[0] == '#') {
            continue;
        }
        words >> row.name;
        for (std::string word; words >> word;) {
            if (word.rfind("until=", 0) == 0) {
                row.until = word.substr(6);
            } else {
                row.values.push_back(word);
            }
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

std::string BuiltArchivePath()
{
    return KORVANE_BINARY_DIR "/bin/data.kva";
}

std::unique_ptr<ArchiveLoader> OpenBuiltArchive()
{
    return std::make_unique<ArchiveLoader>(BuiltArchivePath());
}

std::string GeneratedFolder()
{
    return KORVANE_BINARY_DIR "/generated/assets";
}

std::string GeneratorPath()
{
    return KORVANE_BINARY_DIR "/bin/assetgen";
}

std::string ReadEntry(ArchiveLoader& loader, const std::string& name)
{
    std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open(name));
    std::string bytes;
    char buffer[65536];
    for (std::int32_t got; (got = stream->Read(buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

bool FolderLanded(ArchiveLoader& loader, const std::string& folder)
{
    std::vector<std::string> names;
    loader.EnumerateFiles(folder, true, names);
    return !names.empty();
}

DecodedImage DecodePng(const std::string& bytes)
{
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    DecodedImage out;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
        return out;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        png_image_free(&image);
        return out;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgba = std::move(pixels);
    return out;
}

namespace
{

std::uint32_t Le32(const std::string& b, std::size_t at)
{
    if (at + 4 > b.size()) {
        throw std::runtime_error("glyph table cut short");
    }
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at])) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 3])) << 24;
}

std::int16_t Le16(const std::string& b, std::size_t at)
{
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

/// Reads "len, key" and checks the key; returns the offset after it.
std::size_t ExpectKey(const std::string& b, std::size_t at, const char* key)
{
    const std::uint32_t length = Le32(b, at);
    if (length > b.size() - at - 4 || b.compare(at + 4, length, key) != 0) {
        throw std::runtime_error(std::string("glyph table: key ") + key + " expected");
    }
    return at + 4 + length;
}

std::vector<std::uint16_t> KvfCodes(const std::string& b)
{
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "KVFT") != 0) {
        throw std::runtime_error("not a KVF file");
    }
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::uint32_t size = Le32(b, at + 4);
        if (size > b.size() - at - 8) {
            throw std::runtime_error("KVF chunk runs past the end");
        }
        if (b.compare(at, 4, "glpt") == 0) {
            const std::string chunk = b.substr(at + 8, size);
            std::size_t p = ExpectKey(chunk, 0, "Revision") + 4;
            p = ExpectKey(chunk, p, "Count");
            const std::int32_t count = static_cast<std::int32_t>(Le32(chunk, p));
            p = ExpectKey(chunk, p + 4, "Data");
            std::vector<std::uint16_t> codes;
            for (std::int32_t i = 0; i < count && p + 16 <= chunk.size(); ++i, p += 16) {
                if (Le16(chunk, p + 6) > 0 || Le16(chunk, p + 14) > 0) {
                    codes.push_back(static_cast<std::uint16_t>(Le16(chunk, p)));
                }
            }
            return codes;
        }
        at += 8 + size;
    }
    throw std::runtime_error("KVF file without a glpt chunk");
}

std::vector<std::uint16_t> IniCodes(const std::string& b)
{
    korvane::CMemoryStream stream;
    stream.Write(b.data(), static_cast<std::int32_t>(b.size()));
    stream.Seek(0);
    korvane::TProperties<korvane::comparator_for_properties::less_ignorecase> table;
    table.LoadFromStream(stream);
    const unsigned start = std::stoul(table.Get("StartCode", "0"), nullptr, 16);
    const unsigned end = std::min(std::stoul(table.Get("EndCode", "7F"), nullptr, 16), 0xFFFFul);
    std::vector<std::uint16_t> codes;
    for (unsigned c = start; c <= end; ++c) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%x", c);
        if (std::stoi(table.Get(std::string(hex) + ".w", "0")) > 0 ||
            std::stoi(table.Get(std::string(hex) + ".p", "0")) > 0) {
            codes.push_back(static_cast<std::uint16_t>(c));
        }
    }
    return codes;
}

} // namespace

std::vector<std::uint16_t> GlyphCodes(const std::string& tableName, const std::string& bytes)
{
    const std::string lower = korvane::ToLowerString(tableName);
    return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".ini") == 0 ? IniCodes(bytes) : KvfCodes(bytes);
}

} // namespace assettest
