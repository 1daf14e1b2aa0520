/** @file TextTableTest.cpp The text tables: their bytes, their keys and the one format text. */
#include <gtest/gtest.h>

#include <set>

#include "AssetTestSupport.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace assettest;

// Per table: UTF-8 without a byte-order mark, CR LF lines, one unpadded value a key; then both
// tables hold the same keys, every listed one, and "2024_2" is the one format text.
TEST(TextTables, Utf8CrLfUnpaddedLinesTheSameKeysInBothAndOneFormatText)
{
    ArchiveLoader loader(kBuiltArchive);
    const std::vector<NameRow> rows = ReadNameTable();
    std::vector<std::pair<korvane::TProperties<std::less<std::string>>, std::set<std::string>>> tables;
    for (const NameRow& row : RowsOfKind(rows, "text")) {
        SCOPED_TRACE(row.name);
        const std::string bytes = ReadEntry(loader, row.name);
        EXPECT_NE(0, bytes.compare(0, 3, "\xEF\xBB\xBF")) << "byte-order mark";
        EXPECT_TRUE(bytes == korvane::Utf8ToMultiByte(bytes)) << "not well-formed UTF-8";
        std::size_t start = 0;
        for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
            const std::string line = bytes.substr(start, end - start);
            EXPECT_EQ(std::string::npos, line.find_first_of("\r\n")) << "a lone line break in: " << line;
            if (line.empty() || line[0] == ';')
                continue;
            const std::size_t equals = line.find('=');
            ASSERT_NE(std::string::npos, equals) << line;
            const std::string value = line.substr(equals + 1);
            EXPECT_FALSE(value.empty()) << line;
            EXPECT_TRUE(value.find_first_of(" \t") != 0 && value.find_last_of(" \t") != value.size() - 1)
                << "padded: " << line;
            EXPECT_EQ(line.find_first_of(" \t"), line.find_first_of(" \t", equals)) << "padded key: " << line;
        }
        EXPECT_EQ(bytes.size(), start) << "text after the last line break, or none ending in CR LF";
        auto& [table, keys] = tables.emplace_back();
        table.LoadFromStream(*EntryStream(loader, row.name));
        for (const auto& [key, value] : table.GetEntries())
            keys.insert(key);
    }
    ASSERT_EQ(2u, tables.size());
    EXPECT_EQ(tables[0].second, tables[1].second);
    for (const auto& [table, keys] : tables) {
        for (const NameRow& key : RowsOfKind(rows, "key"))
            EXPECT_EQ(1u, keys.count(key.name)) << "missing key " << key.name;
        // "2024_2" is a printf format with the seconds as its one string; no other text is a format.
        for (const auto& [key, value] : table.GetEntries()) {
            const std::size_t first = value.find('%');
            if (key == "2024_2") {
                EXPECT_EQ(0, value.compare(first, 2, "%s")) << value;
                EXPECT_EQ(std::string::npos, value.find('%', first + 1)) << value;
            } else {
                EXPECT_EQ(std::string::npos, first) << key << "=" << value;
            }
        }
    }
}
