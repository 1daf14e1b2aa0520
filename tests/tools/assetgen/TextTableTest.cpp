/** @file TextTableTest.cpp The text tables: their bytes, their keys, the one format text and the glyphs they need. */
#include <gtest/gtest.h>

#include <set>

#include "AssetTestSupport.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace assettest;

namespace
{

using Table = korvane::TProperties<std::less<std::string>>;

/// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<std::uint8_t>(text[i]);
        const int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || i + static_cast<std::size_t>(more) >= text.size() + (more == 0 ? 1 : 0)) {
            return false;
        }
        std::uint32_t code = more == 0 ? c : c & (0x3Fu >> more);
        for (int k = 1; k <= more; ++k) {
            const auto next = static_cast<std::uint8_t>(text[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            code = code << 6 | (next & 0x3Fu);
        }
        const std::uint32_t least[4] = {0, 0x80, 0x800, 0x10000};
        if (code < least[more] || (code >= 0xD800 && code < 0xE000) || code > 0x10FFFF) {
            return false;
        }
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

struct LoadedTable
{
    std::string name;
    std::string bytes;
    Table table;
    std::set<std::string> keys;
};

LoadedTable Load(ArchiveLoader& loader, const std::string& name)
{
    LoadedTable loaded;
    loaded.name = name;
    loaded.bytes = ReadEntry(loader, name);
    korvane::CMemoryStream stream;
    stream.Write(loaded.bytes.data(), static_cast<std::int32_t>(loaded.bytes.size()));
    stream.Seek(0);
    loaded.table.LoadFromStream(stream);
    std::vector<std::string> lines;
    loaded.table.GetLines(lines);
    for (const std::string& line : lines) {
        loaded.keys.insert(line.substr(0, line.find('=')));
    }
    return loaded;
}

} // namespace

TEST(TextTables, BytesAreUtf8WithCrLfLinesOneValueEachAndNothingPadded)
{
    auto loader = OpenBuiltArchive();
    for (const NameRow& row : RowsOfKind(ReadNameTable(), "text")) {
        SCOPED_TRACE(row.name);
        const std::string bytes = ReadEntry(*loader, row.name);
        ASSERT_FALSE(bytes.empty());
        EXPECT_NE(0, bytes.compare(0, 3, "\xEF\xBB\xBF")) << "byte-order mark";
        EXPECT_TRUE(IsUtf8(bytes));
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ("\r\n", bytes.substr(bytes.size() - 2));
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = bytes.substr(start, end - start);
            EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << "a lone line break in: " << line;
            if (line.empty() || line[0] == ';') {
                continue;
            }
            const std::size_t equals = line.find('=');
            ASSERT_NE(std::string::npos, equals) << line;
            const std::string value = line.substr(equals + 1);
            EXPECT_FALSE(value.empty()) << line;
            EXPECT_TRUE(value.find_first_of(" \t") != 0 && value.find_last_of(" \t") != value.size() - 1)
                << "padded: " << line;
            EXPECT_EQ(line.find_first_of(" \t"), line.find_first_of(" \t", equals)) << "padded key: " << line;
        }
        EXPECT_EQ(bytes.size(), start) << "text after the last line break";
    }
}

TEST(TextTables, BothHoldTheSameKeysAndEveryListedOneWithOneFormatText)
{
    auto loader = OpenBuiltArchive();
    const std::vector<NameRow> rows = ReadNameTable();
    std::vector<LoadedTable> tables;
    for (const NameRow& row : RowsOfKind(rows, "text")) {
        tables.push_back(Load(*loader, row.name));
    }
    ASSERT_EQ(2u, tables.size());
    EXPECT_EQ(tables[0].keys, tables[1].keys);
    for (const LoadedTable& table : tables) {
        SCOPED_TRACE(table.name);
        for (const NameRow& key : RowsOfKind(rows, "key")) {
            EXPECT_EQ(1u, table.keys.count(key.name)) << "missing key " << key.name;
        }
        // "2024_2" is a printf format with the seconds as its one string; no other text is a format.
        for (const std::string& key : table.keys) {
            const std::string value = table.table.Get(key, "");
            if (key == "2024_2") {
                const std::size_t first = value.find('%');
                EXPECT_EQ(0, value.compare(first, 2, "%s")) << value;
                EXPECT_EQ(std::string::npos, value.find('%', first + 1)) << value;
            } else {
                EXPECT_EQ(std::string::npos, value.find('%')) << key << "=" << value;
            }
        }
    }
}

TEST(TextTables, EveryCharacterHasAGlyphInTheMessageFont)
{
    auto loader = OpenBuiltArchive();
    std::string fontTable;
    for (const char* name : {"fonts\\QVR2WinMessage.kvf", "fonts\\QVR2WinMessage.ini"}) {
        if (loader->Exists(name)) {
            fontTable = name;
        }
    }
    if (fontTable.empty()) {
        GTEST_SKIP() << "fonts\\QVR2WinMessage is not in data.kva yet";
    }
    const std::vector<std::uint16_t> codes = GlyphCodes(fontTable, ReadEntry(*loader, fontTable));
    const std::set<std::uint16_t> glyphs(codes.begin(), codes.end());
    for (const NameRow& row : RowsOfKind(ReadNameTable(), "text")) {
        const LoadedTable table = Load(*loader, row.name);
        for (const std::string& key : table.keys) {
            for (const wchar_t c : korvane::MultiByteToWide(table.table.Get(key, ""))) {
                EXPECT_EQ(1u, glyphs.count(static_cast<std::uint16_t>(c)))
                    << row.name << " " << key << ": U+" << std::hex << static_cast<unsigned>(c);
            }
        }
    }
}
