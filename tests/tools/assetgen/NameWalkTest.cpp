/** @file NameWalkTest.cpp Every name the program loads, opened in the built data.kva and checked by its kind. */
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "AssetTestSupport.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "KorvaneXDK/core/StringUtility.h"

using namespace assettest;

namespace
{

std::unique_ptr<korvane::CMemoryStream> MemoryStreamOf(const std::string& bytes)
{
    auto stream = std::make_unique<korvane::CMemoryStream>();
    stream->Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream->Seek(0);
    return stream;
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2;
}

/// Checks one row; returns "" or what is wrong.
class Walker
{
public:
    explicit Walker(ArchiveLoader& loader) : loader_(loader) {}

    std::string Check(const NameRow& row, const std::vector<NameRow>& all)
    {
        try {
            if (row.kind == "image") {
                return CheckImage(row);
            }
            if (row.kind == "bitmap") {
                korvane::CSimpleDIB dib;
                auto stream = MemoryStreamOf(ReadEntry(loader_, row.name));
                dib.Load(*stream);
                return SizeProblem(row, dib.GetWidth(), dib.GetHeight());
            }
            if (row.kind == "sound" || row.kind == "music") {
                auto stream = MemoryStreamOf(ReadEntry(loader_, row.name));
                std::unique_ptr<korvane::ISoundReader> reader(korvane::CreateAndOpenSoundReader(stream.get()));
                const auto* format = reader->GetFormat();
                if (format->formatTag != 1 || format->bitsPerSample != 16 || reader->GetTotalBytes() <= 0) {
                    return "not 16-bit PCM with samples";
                }
                if (row.kind == "music" && (format->channels != 2 || format->samplesPerSec != 44100 ||
                                            std::to_string(reader->GetTotalBytes() / 4) != row.values.at(0))) {
                    return "not 44.1 kHz stereo of " + row.values.at(0) + " frames (" +
                           std::to_string(reader->GetTotalBytes() / 4) + ")";
                }
                return "";
            }
            if (row.kind == "text") {
                korvane::TProperties<std::less<std::string>> table;
                auto stream = MemoryStreamOf(ReadEntry(loader_, row.name));
                table.LoadFromStream(*stream);
                return "";
            }
            if (row.kind == "key") {
                return ""; // checked with the text tables
            }
            if (row.kind == "font") {
                const std::string stem = "fonts\\" + row.name;
                const std::string table = loader_.Exists(stem + ".kvf") ? stem + ".kvf" : stem + ".ini";
                GlyphCodes(table, ReadEntry(loader_, table));
                return DecodePng(ReadEntry(loader_, stem + ".png")).width > 0 ? "" : "texture is not a PNG";
            }
            if (row.kind == "shader") {
                return ReadEntry(loader_, row.name + ".vs").empty() || ReadEntry(loader_, row.name + ".ps").empty()
                           ? "empty stage"
                           : "";
            }
            if (row.kind == "appearance") {
                return CheckAppearance(row);
            }
            if (row.kind == "precached") {
                return CheckPrecached(row, all);
            }
            return "unknown kind";
        } catch (const korvane::EException& error) {
            return error.GetMessage();
        } catch (const std::exception& error) {
            return error.what();
        }
    }

private:
    static std::string SizeProblem(const NameRow& row, int width, int height)
    {
        int w = 0, h = 0;
        if (!ParseSize(row.values.at(0), w, h)) {
            return "bad size in the table";
        }
        if (w != width || h != height) {
            return "is " + std::to_string(width) + "x" + std::to_string(height) + ", not " + row.values[0];
        }
        return "";
    }

    std::string CheckImage(const NameRow& row)
    {
        const DecodedImage image = DecodePng(ReadEntry(loader_, row.name));
        if (image.width == 0) {
            return "not a readable PNG";
        }
        const std::string size = SizeProblem(row, image.width, image.height);
        if (!size.empty()) {
            return size;
        }
        for (std::size_t i = 1; i < row.values.size(); ++i) {
            const std::string& flag = row.values[i];
            int x = 0, y = 0;
            if (flag == "opaque") {
                for (int py = 0; py < image.height; ++py) {
                    for (int px = 0; px < image.width; ++px) {
                        if (image.AlphaAt(px, py) != 255) {
                            return "not opaque at " + std::to_string(px) + "," + std::to_string(py);
                        }
                    }
                }
            } else if (std::sscanf(flag.c_str(), "tip=%d,%d", &x, &y) == 2) {
                if (x < 0 || y < 0 || x >= image.width || y >= image.height || image.AlphaAt(x, y) != 255) {
                    return "tip pixel " + flag.substr(4) + " is not opaque";
                }
            } else {
                return "unknown flag " + flag;
            }
        }
        return "";
    }

    std::string CheckAppearance(const NameRow& row)
    {
        std::vector<std::string> files;
        loader_.EnumerateFiles("skin", false, files);
        for (const std::string& file : files) {
            if (file.size() < 4 || file.compare(file.size() - 4, 4, ".ini") != 0) {
                continue;
            }
            korvane::TProperties<std::less<std::string>> table;
            auto stream = MemoryStreamOf(ReadEntry(loader_, file));
            table.LoadFromStream(*stream);
            if (table.Get("Name", "") != row.name) {
                continue;
            }
            std::vector<std::string> lines;
            table.GetLines(lines);
            for (const std::string& line : lines) {
                const std::string key = line.substr(0, line.find('='));
                if (key.size() >= 7 && key.compare(key.size() - 7, 7, "Texture") == 0) {
                    const std::string texture = "skin\\" + table.Get(key, "");
                    if (DecodePng(ReadEntry(loader_, texture)).width == 0) {
                        return key + " '" + texture + "' is not a readable PNG";
                    }
                }
            }
            return "";
        }
        return "no definition in skin\\ has this Name";
    }

    std::string CheckPrecached(const NameRow& row, const std::vector<NameRow>& all)
    {
        std::set<std::string> listed;
        for (const NameRow& image : RowsOfKind(all, "image")) {
            listed.insert(korvane::ToLowerString(image.name));
        }
        std::vector<std::string> files;
        loader_.EnumerateFiles(row.name, true, files);
        for (const std::string& file : files) {
            if (listed.count(file) == 0) {
                return "holds '" + file + "', which is not a listed image";
            }
        }
        return files.empty() ? "is empty" : "";
    }

    ArchiveLoader& loader_;
};

} // namespace

TEST(NameWalk, EveryLoadedNameIsInTheBuiltArchiveAndReadsAsItsKind)
{
    const std::vector<NameRow> rows = ReadNameTable();
    ASSERT_GT(rows.size(), 100u);
    auto loader = OpenBuiltArchive();
    Walker walker(*loader);
    std::map<std::string, int> skipped;
    for (const NameRow& row : rows) {
        if (!row.until.empty() && !FolderLanded(*loader, row.until)) {
            ++skipped[row.until];
            continue;
        }
        const std::string problem = walker.Check(row, rows);
        EXPECT_EQ("", problem) << "line " << row.line << ": " << row.kind << " " << row.name;
    }
    for (const auto& [folder, count] : skipped) {
        std::cout << "NOTE: " << count << " names below '" << folder
                  << "\\' skipped: the archive has no such folder yet; they are checked once it lands.\n";
    }
}

TEST(NameWalk, FoldersOfOtherToolsHaveLanded)
{
    auto loader = OpenBuiltArchive();
    std::set<std::string> missing;
    for (const NameRow& row : ReadNameTable()) {
        if (!row.until.empty() && !FolderLanded(*loader, row.until)) {
            missing.insert(row.until);
        }
    }
    if (!missing.empty()) {
        std::string list;
        for (const std::string& folder : missing) {
            list += " " + folder + "\\";
        }
        GTEST_SKIP() << "not in data.kva yet:" << list;
    }
}

TEST(NameWalk, TheEffectBankHasThirtyFourEntriesAndTheMenuSoundsDiffer)
{
    auto loader = OpenBuiltArchive();
    for (int n = 1; n <= 34; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "se_qvr2\\%02X.wav", static_cast<unsigned>(n));
        EXPECT_TRUE(loader->Exists(name)) << name;
    }
    EXPECT_FALSE(loader->Exists("se_qvr2\\23.wav"));
    std::set<std::string> menuSounds;
    for (const char* name :
         {"se_qvr2\\06.wav", "se_qvr2\\01.wav", "se_qvr2\\05.wav", "se_qvr2\\20.wav", "se_qvr2\\16.wav"}) {
        menuSounds.insert(ReadEntry(*loader, name));
    }
    EXPECT_EQ(5u, menuSounds.size());
}
