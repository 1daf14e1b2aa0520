/** @file make_seeds.cpp Writes the seed corpora of the fuzz targets with the project's own writers. */
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/Properties.h"
#include "KorvaneXDK/core/RIFFReader.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "support/AudioTestData.h"
#include "tools/kvatool/ArchiveFormatWriter.h"

namespace
{

namespace fs = std::filesystem;
using korvane::MakeFourCC;

fs::path root;

void Seed(const std::string& target, const std::string& name, const std::string& bytes)
{
    const fs::path folder = root / target;
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Contents(const korvane::CMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.GetBuffer()), static_cast<std::size_t>(stream.GetSize()));
}

std::string Le(std::uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// Deterministic "random" bytes, so that the seeds are the same on every build.
kvatool::RandomSource Counting()
{
    return [next = std::uint8_t{0}](std::uint8_t* buffer, std::size_t count) mutable {
        for (std::size_t i = 0; i < count; ++i)
            buffer[i] = next++;
    };
}

void Archives()
{
    const kvatool::RandomSource random = Counting();
    const auto archive = [&random](const std::vector<kvatool::Record>& records, const std::string& area) {
        return kvatool::SerializeArchive(kvatool::RandomBytes(random, 32), kvatool::RandomBytes(random, 32),
                                         kvatool::EncodeTable(records), area);
    };
    const std::string texts[] = {"plain text entry", std::string(3000, 'a') + "tail", "", "ogg-ish bytes"};
    const std::int32_t methods[] = {0, 1, 0x100, 0x101};
    std::vector<kvatool::Record> records;
    std::string area;
    for (int i = 0; i < 4; ++i) {
        const std::string stored = kvatool::EncodeEntry(methods[i], texts[i], random);
        const kvatool::Record record{"dir\\entry" + std::to_string(i) + ".txt",  0,
                                     static_cast<std::int32_t>(stored.size()),   methods[i],
                                     static_cast<std::int32_t>(texts[i].size()), {}};
        Seed("fuzz_archive_raw", "method" + std::to_string(methods[i]) + ".kva", archive({record}, stored));
        records.push_back(record);
        records.back().offset = static_cast<std::int32_t>(area.size());
        area += stored;
    }
    Seed("fuzz_archive_raw", "four.kva", archive(records, area));

    // The built target's own description: count, then per record the name, the method,
    // flags (1: encode for the method) and the body in 16-byte units.
    std::string description(1, static_cast<char>(4));
    for (int i = 0; i < 4; ++i) {
        const std::string name = "entry" + std::to_string(i);
        const std::string body = (texts[i] + std::string(32, 'x')).substr(0, 32);
        description += static_cast<char>(name.size()) + name + static_cast<char>(i) + '\x01' + '\x02' + body;
    }
    Seed("fuzz_archive_built", "four", description);
    Seed("fuzz_archive_built", "stored", std::string("\x01\x04name\x00\x00\x01", 8) + std::string(16, 'z'));
}

// A BMP with true sizes and offsets: the given header size, bit depth, palette and rows.
std::string Bmp(int headerSize, int width, int height, int bits, const std::vector<std::uint32_t>& palette,
                std::uint32_t compression = 0, const std::vector<std::uint32_t>& masks = {})
{
    const bool core = headerSize == 12;
    std::string info = Le(static_cast<std::uint32_t>(headerSize), 4);
    if (core)
        info += Le(static_cast<std::uint32_t>(width), 2) + Le(static_cast<std::uint32_t>(height), 2) + Le(1, 2) +
                Le(static_cast<std::uint32_t>(bits), 2);
    else {
        info += Le(static_cast<std::uint32_t>(width), 4) + Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) +
                Le(static_cast<std::uint32_t>(bits), 2) + Le(compression, 4);
        info += std::string(static_cast<std::size_t>(headerSize) - info.size(), '\0');
    }
    for (std::uint32_t mask : masks)
        info += Le(mask, 4);
    for (std::uint32_t colour : palette)
        info += Le(colour, core ? 3 : 4);
    const std::size_t stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    std::string pixels;
    for (std::size_t i = 0; i < stride * static_cast<std::size_t>(std::abs(height)); ++i)
        pixels += static_cast<char>((i * 37) & 0xFF);
    const std::string head = "BM" + Le(static_cast<std::uint32_t>(14 + info.size() + pixels.size()), 4) + Le(0, 4) +
                             Le(static_cast<std::uint32_t>(14 + info.size()), 4);
    return head + info + pixels;
}

void Bitmaps()
{
    const std::vector<std::uint32_t> two{0x000000, 0xFFFFFF};
    std::vector<std::uint32_t> sixteen;
    for (std::uint32_t i = 0; i < 16; ++i)
        sixteen.push_back(i * 0x111111);
    Seed("fuzz_bmp", "24bit.bmp", Bmp(40, 3, 2, 24, {}));
    Seed("fuzz_bmp", "24bit-top-down.bmp", Bmp(40, 3, -2, 24, {}));
    Seed("fuzz_bmp", "32bit.bmp", Bmp(40, 2, 2, 32, {}));
    Seed("fuzz_bmp", "16bit-fields.bmp", Bmp(40, 2, 2, 16, {}, 3, {0xF800, 0x07E0, 0x001F}));
    Seed("fuzz_bmp", "8bit.bmp", Bmp(40, 5, 3, 8, sixteen));
    Seed("fuzz_bmp", "4bit.bmp", Bmp(40, 5, 3, 4, sixteen));
    Seed("fuzz_bmp", "1bit.bmp", Bmp(40, 9, 2, 1, two));
    Seed("fuzz_bmp", "core-8bit.bmp", Bmp(12, 4, 2, 8, sixteen));
    Seed("fuzz_bmp", "v5-24bit.bmp", Bmp(124, 2, 2, 24, {}));
}

void PropertyTables()
{
    korvane::TProperties<std::less<std::string>> table;
    table.Set("ScreenWidth", "1280");
    table.Set("Name", "a=b");
    table.Set("", "empty key");
    table.Set("Japanese", "\xE6\x97\xA5\xE6\x9C\xAC");
    korvane::CMemoryStream saved;
    table.SaveToStream(saved);
    Seed("fuzz_properties", "saved.txt", Contents(saved));
    const char mixed[] = "; comment\nKey=1\r\nkey=2\n\nno equals\r\r\nLast=x\0hidden=y";
    Seed("fuzz_properties", "mixed.txt", std::string(mixed, sizeof mixed - 1));
}

std::string Riff(std::int32_t order, const char* form, const std::vector<std::pair<const char*, std::string>>& chunks)
{
    korvane::CRIFFWriter writer;
    writer.SetByteOrder(order);
    writer.SetFormType(MakeFourCC(form[0], form[1], form[2], form[3]));
    for (const auto& [id, bytes] : chunks)
        writer.AddChunk(MakeFourCC(id[0], id[1], id[2], id[3]), bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    korvane::CMemoryStream out;
    writer.WriteTo(out);
    return Contents(out);
}

std::string Wave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const std::string& pcm,
                 bool listChunk = false)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    const std::string format =
        Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) + Le(bits, 2);
    std::vector<std::pair<const char*, std::string>> chunks{{"fmt ", format}};
    if (listChunk)
        chunks.push_back({"LIST", "INFOabc"});
    chunks.push_back({"data", pcm});
    return Riff(0, "WAVE", chunks);
}

void RiffFiles()
{
    Seed("fuzz_riff", "three.riff",
         Riff(0, "TEST", {{"abcd", "1234"}, {"odd ", "xyz"}, {"last", std::string(40, 'L')}}));
    Seed("fuzz_riff", "three.rifx",
         Riff(2, "TEST", {{"abcd", "1234"}, {"odd ", "xyz"}, {"same", "1"}, {"same", "22"}}));
    Seed("fuzz_riff", "wave.wav", Wave(1, 8000, 8, "abcdefgh", true));
}

std::string Tone(int channels, long rate, long frames, int serial)
{
    std::vector<float> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(0.4 * std::sin(static_cast<double>(i) * 0.05));
    return korvane::test::EncodeOggVorbis(channels, rate, samples, 0.2f, {"TITLE=seed"}, serial);
}

void Sounds(const std::vector<std::string>& hostile)
{
    std::string pcm16;
    for (int i = 0; i < 400; ++i)
        pcm16 += Le(static_cast<std::uint32_t>(i * 97), 2);
    const std::pair<std::string, std::string> sounds[] = {
        {"mono8.wav", Wave(1, 8000, 8, std::string(300, '\x80'))},
        {"stereo16.wav", Wave(2, 22050, 16, pcm16, true)},
        {"mono.ogg", Tone(1, 8000, 2000, 3)},
        {"stereo.ogg", Tone(2, 22050, 6000, 4)},
        {"chained.ogg", Tone(2, 11025, 1500, 5) + Tone(2, 11025, 1000, 6) + Tone(1, 8000, 700, 7)},
    };
    for (const auto& [name, bytes] : sounds) {
        Seed("fuzz_sound_reader", name, bytes);
        Seed("fuzz_static_sound", name, bytes);
    }
    for (const std::string& path : hostile) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        Seed("fuzz_sound_reader", fs::path(path).filename().string(), bytes);
        Seed("fuzz_static_sound", fs::path(path).filename().string(), bytes);
    }
}

void DisplaySettings()
{
    const fs::path scratch = root / "display-settings-scratch";
    fs::create_directories(scratch);
    for (int index = 0; index < 2; ++index) {
        korvane::CGraphicsModePreference preference;
        preference.modes = {{640, 480, 60, os::gfx::Format::X8R8G8B8}, {1920, 1080, 75, os::gfx::Format::X8R8G8B8}};
        preference.SelectMode(index);
        preference.fullscreen = index == 1;
        preference.SetProperty("Language", "ja");
        const std::string path = (scratch / "display_setting.ini").string();
        preference.Save(path);
        std::ifstream in(path, std::ios::binary);
        Seed("fuzz_display_setting", "saved" + std::to_string(index) + ".ini",
             std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
    fs::remove_all(scratch);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER [HOSTILE_SOUND...]\n");
        return 2;
    }
    root = argv[1];
    Archives();
    Bitmaps();
    PropertyTables();
    RiffFiles();
    Sounds(std::vector<std::string>(argv + 2, argv + argc));
    DisplaySettings();
    return 0;
}
