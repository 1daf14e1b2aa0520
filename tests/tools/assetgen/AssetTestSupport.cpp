/** @file AssetTestSupport.cpp Reading the name table, the built archive, PNGs and font glyph tables. */
#include "AssetTestSupport.h"

#include <png.h>

#include <algorithm>
#include <cstring>
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

std::unique_ptr<ArchiveLoader> OpenBuiltArchive()
{
    return std::make_unique<ArchiveLoader>(KORVANE_BINARY_DIR "/bin/data.kva");
}

std::string ReadEntry(ArchiveLoader& loader, const std::string& name)
{
    std::unique_ptr<korvane::IKorvaneStream> stream(loader.Open(name));
    std::string bytes;
    char buffer[65536];
    for (std::int32_t got; (got = stream->Read(buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, static_cast<std::size_t>(got));
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
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0)
        return out;
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
    if (at + 4 > b.size())
        throw std::runtime_error("glyph table cut short");
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + i])) << (8 * i);
    return value;
}

std::int16_t Le16(const std::string& b, std::size_t at)
{
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

/// Reads "len, key" and checks the key; returns the offset after it.
std::size_t ExpectKey(const std::string& b, std::size_t at, const char* key)
{
    const std::uint32_t length = Le32(b, at);
    if (length > b.size() - at - 4 || b.compare(at + 4, length, key) != 0)
        throw std::runtime_error(std::string("glyph table: key ") + key + " expected");
    return at + 4 + length;
}

} // namespace

std::vector<std::uint16_t> GlyphCodes(const std::string& b)
{
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "KVFT") != 0)
        throw std::runtime_error("not a KVF file");
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::uint32_t size = Le32(b, at + 4);
        if (size > b.size() - at - 8)
            throw std::runtime_error("KVF chunk runs past the end");
        if (b.compare(at, 4, "glpt") == 0) {
            const std::string chunk = b.substr(at + 8, size);
            std::size_t p = ExpectKey(chunk, ExpectKey(chunk, 0, "Revision") + 4, "Count");
            const std::int32_t count = static_cast<std::int32_t>(Le32(chunk, p));
            p = ExpectKey(chunk, p + 4, "Data");
            std::vector<std::uint16_t> codes;
            for (std::int32_t i = 0; i < count && p + 16 <= chunk.size(); ++i, p += 16)
                if (Le16(chunk, p + 6) > 0 || Le16(chunk, p + 14) > 0)
                    codes.push_back(static_cast<std::uint16_t>(Le16(chunk, p)));
            return codes;
        }
        at += 8 + size;
    }
    throw std::runtime_error("KVF file without a glpt chunk");
}

} // namespace assettest
