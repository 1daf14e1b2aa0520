/** @file NameWalkTest.cpp Every name the program loads, opened in the built data.kva and checked by its kind. */
#include <gtest/gtest.h>

#include <iostream>
#include <set>

#include "AssetTestSupport.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "KorvaneXDK/core/SoundReader.h"
#include "KorvaneXDK/core/StringUtility.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"

using namespace assettest;

namespace
{

std::string SizeProblem(const NameRow& row, int width, int height)
{
    int w = 0, h = 0;
    if (std::sscanf(row.values.at(0).c_str(), "%dx%d", &w, &h) != 2)
        return "bad size in the table";
    if (w != width || h != height)
        return "is " + std::to_string(width) + "x" + std::to_string(height) + ", not " + row.values[0];
    return "";
}

std::string CheckImage(ArchiveLoader& loader, const NameRow& row)
{
    const std::string bytes = ReadEntry(loader, row.name);
    os::gfx::DecodedImage image;
    if (os::gfx::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), {}, &image) !=
            os::gfx::kOk ||
        image.fileType != os::gfx::ImageFileFormat::Png)
        return "not a readable PNG";
    const int width = static_cast<int>(image.width), height = static_cast<int>(image.height);
    if (const std::string size = SizeProblem(row, width, height); !size.empty())
        return size;
    const std::vector<std::uint8_t>& pixels = image.levels[0]; // B, G, R, A
    for (std::size_t i = 1; i < row.values.size(); ++i) {
        const std::string& flag = row.values[i];
        int x = 0, y = 0;
        if (flag == "opaque") {
            for (std::size_t alpha = 3; alpha < pixels.size(); alpha += 4)
                if (pixels[alpha] != 255)
                    return "not opaque at pixel " + std::to_string(alpha / 4);
        } else if (std::sscanf(flag.c_str(), "tip=%d,%d", &x, &y) == 2) {
            if (x < 0 || y < 0 || x >= width || y >= height || pixels[(y * width + x) * 4 + 3] != 255)
                return "tip pixel " + flag.substr(4) + " is not opaque";
        } else {
            return "unknown flag " + flag;
        }
    }
    return "";
}

std::string CheckPrecached(ArchiveLoader& loader, const NameRow& row, const std::vector<NameRow>& all)
{
    std::set<std::string> listed;
    for (const NameRow& image : RowsOfKind(all, "image"))
        listed.insert(korvane::ToLowerString(image.name));
    std::vector<std::string> files;
    loader.EnumerateFiles(row.name, true, files);
    for (const std::string& file : files)
        if (listed.count(file) == 0)
            return "holds '" + file + "', which is not a listed image";
    return files.empty() ? "is empty" : "";
}

/// Checks one row; returns "" or what is wrong.
std::string Check(ArchiveLoader& loader, const NameRow& row, const std::vector<NameRow>& all)
{
    try {
        const std::string& kind = row.kind;
        if (kind == "image")
            return CheckImage(loader, row);
        if (kind == "bitmap") {
            korvane::CSimpleDIB dib;
            dib.Load(*EntryStream(loader, row.name));
            return SizeProblem(row, dib.GetWidth(), dib.GetHeight());
        }
        if (kind == "sound" || kind == "music") {
            // Music's rate, channels and length: MusicLoop compares it with the mixer's output.
            auto stream = EntryStream(loader, row.name);
            std::unique_ptr<korvane::ISoundReader> reader(korvane::CreateAndOpenSoundReader(stream.get()));
            const auto* format = reader->GetFormat();
            const bool pcm16 = format->formatTag == 1 && format->bitsPerSample == 16;
            return pcm16 && reader->GetTotalBytes() > 0 ? "" : "not 16-bit PCM with samples";
        }
        // Texts are read, with their keys, by TextTables. The skin: skingen checks at build
        // time that every texture a definition names is one it makes
        // (SkinGenerator.RefusesADefinitionNamingAPictureItDoesNotMake); SkinStartup gets the
        // ten appearances from the built archive and decodes every picture they name.
        if (kind == "text" || kind == "key" || kind == "appearance" || kind == "definitions")
            return "";
        if (kind == "font") // the engine loads each table and its page: FontArchiveTest
            return loader.Exists("fonts\\" + row.name + ".kvf") ? "" : "no glyph table";
        if (kind == "shader")
            return ReadEntry(loader, row.name + ".vs").empty() || ReadEntry(loader, row.name + ".ps").empty()
                       ? "empty stage"
                       : "";
        if (kind == "precached")
            return CheckPrecached(loader, row, all);
        return "unknown kind";
    } catch (const korvane::EException& error) {
        return error.GetMessage();
    } catch (const std::exception& error) {
        return error.what();
    }
}

} // namespace

TEST(NameWalk, EveryLoadedNameIsInTheBuiltArchiveAndReadsAsItsKindAndTheEffectBankEndsAt34)
{
    const std::vector<NameRow> rows = ReadNameTable();
    ASSERT_GT(rows.size(), 100u);
    ArchiveLoader loader(kBuiltArchive);
    for (const NameRow& row : rows) {
        // Rows of folders another tool makes are walked once those folders land.
        std::vector<std::string> landed;
        loader.EnumerateFiles(row.until, true, landed);
        if (!row.until.empty() && landed.empty())
            std::cout << "line " << row.line << " not walked: " << row.until << "\\ is not in data.kva yet\n";
        else
            EXPECT_EQ("", Check(loader, row, rows)) << "line " << row.line << ": " << row.kind << " " << row.name;
    }

    // The walk reads the bank's 34 entries (01-22) as sounds; here, that it ends there and that
    // the menu's five sounds are not one sound five times.
    EXPECT_FALSE(loader.Exists("se_qvr2\\23.wav"));
    std::set<std::string> menuSounds;
    for (const char* name : {"06", "01", "05", "20", "16"})
        menuSounds.insert(ReadEntry(loader, std::string("se_qvr2\\") + name + ".wav"));
    EXPECT_EQ(5u, menuSounds.size());
}
