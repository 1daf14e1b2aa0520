/** @file make_seeds.cpp Writes the fuzz targets' seed corpora with the project's writers and from files of the tree. */
#include <cstdio> // declares FILE and size_t, which jpeglib.h takes as given

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "KorvaneXDK/core/RIFFWriter.h"
#include "KorvaneXDK/platform/graphics/GraphicsModePreference.h"
#include "frontend/preferences/PreferenceManager.h"
#include "frontend/preferences/StandardPreferenceHost.h"
#include "os/confdlg/PreviousChoice.h"
#include "os/store/Leaderboard.h"
#include "os/store/StoreFiles.h"
#include "tools/fontbuild/FontBuilder.h"
#include "tools/kvatool/Packer.h"

namespace
{

namespace fs = std::filesystem;
using korvane::MakeFourCC;
using korvane::test::TempDir;

fs::path root;

void Seed(std::initializer_list<const char*> targets, const std::string& name, const std::string& bytes)
{
    for (const char* target : targets) {
        fs::create_directories(root / target);
        std::ofstream(root / target / name, std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
}

std::string Le(auto value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
    return out;
}

// `count` bytes of a repeating pattern, as pixels or blocks.
std::string Filler(std::size_t count, std::size_t step, std::size_t start = 0)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += static_cast<char>((i * step + start) & 0xFF);
    return out;
}

void Archives()
{
    kvatool::PackOptions options;
    options.methodByExtension = {{".stored", 0}, {".gz", 1}, {".enc", 0x100}}; // the rest enciphered gzip
    // Deterministic "random" bytes, so that the seeds are the same on every build.
    options.random = [](std::uint8_t* buffer, std::size_t count) {
        std::iota(buffer, buffer + count, std::uint8_t{0});
    };
    const std::vector<kvatool::SourceFile> files = {{"dir\\entry.stored", "", "plain text entry"},
                                                    {"dir\\entry.gz", "", ""},
                                                    {"dir\\entry.enc", "", std::string(3000, 'a') + "tail"},
                                                    {"dir\\entry.txt", "", "ogg-ish bytes"}};
    for (const kvatool::SourceFile& file : files)
        Seed({"fuzz_archive_raw"}, file.name.substr(10) + ".kva", kvatool::BuildArchive({file}, options));
    Seed({"fuzz_archive_raw"}, "four.kva", kvatool::BuildArchive(files, options));

    // The built target's own description: count, then per record the name, the method,
    // flags (1: encode for the method) and the body in 16-byte units.
    std::string description(1, static_cast<char>(4));
    for (int i = 0; i < 4; ++i) {
        const std::string name = "entry" + std::to_string(i);
        const std::string body = (files[static_cast<std::size_t>(i)].data + std::string(32, 'x')).substr(0, 32);
        description += static_cast<char>(name.size()) + name + static_cast<char>(i) + '\x01' + '\x02' + body;
    }
    Seed({"fuzz_archive_built"}, "four", description);
    Seed({"fuzz_archive_built"}, "stored", std::string("\x01\x04name\x00\x00\x01", 8) + std::string(16, 'z'));
}

// A BMP with true sizes and offsets: the given header size, bit depth, palette size (in the header's
// colour count; the old core header always holds a colour for every index) and rows.
std::string Bmp(int headerSize, int width, int height, int bits, int colours = 0, std::uint32_t compression = 0,
                const std::vector<std::uint32_t>& masks = {})
{
    const bool core = headerSize == 12;
    std::string info = Le(headerSize, 4);
    if (core)
        info += Le(width, 2) + Le(height, 2) + Le(1, 2) + Le(bits, 2);
    else {
        info += Le(width, 4) + Le(height, 4) + Le(1, 2) + Le(bits, 2) + Le(compression, 4) + std::string(12, '\0') +
                Le(colours, 4);
        info += std::string(static_cast<std::size_t>(headerSize) - info.size(), '\0');
    }
    for (std::uint32_t mask : masks)
        info += Le(mask, 4);
    for (int i = 0; i < colours; ++i)
        info += Le((i * 0x111111) & 0xFFFFFF, core ? 3 : 4);
    const std::size_t stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
    const std::string pixels = Filler(stride * static_cast<std::size_t>(std::abs(height)), 37);
    const std::string head = "BM" + Le(14 + info.size() + pixels.size(), 4) + Le(0, 4) + Le(14 + info.size(), 4);
    return head + info + pixels;
}

// The program's own tables, one of every line form, and the saved display settings.
void PropertyTables(const fs::path& source)
{
    for (const char* file : {"data/text_ja.properties", "data/skin/skinbutton.ini"})
        Seed({"fuzz_properties"}, fs::path(file).filename(), TempDir::Read(source / file));
    const char mixed[] = "; comment\nKey=1\r\nkey=2\n\nno equals\r\r\n=empty key\nName=a=b\nLast=x\0hidden=y";
    Seed({"fuzz_properties"}, "mixed.txt", std::string(mixed, sizeof mixed - 1));
    // "display_setting.ini" as the program saves it.
    for (int index = 0; index < 2; ++index) {
        korvane::CGraphicsModePreference preference;
        preference.modes = {{640, 480, 60, os::gfx::Format::X8R8G8B8}, {1920, 1080, 75, os::gfx::Format::X8R8G8B8}};
        preference.SelectMode(index);
        preference.fullscreen = index == 1;
        preference.SetProperty("Language", "ja");
        const std::string path = fuzz::ScratchFile("saved-display-setting.ini");
        preference.Save(path);
        Seed({"fuzz_display_setting"}, "saved" + std::to_string(index) + ".ini", TempDir::Read(path));
    }
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
    return std::string(reinterpret_cast<const char*>(out.GetBuffer()), static_cast<std::size_t>(out.GetSize()));
}

std::string Wave(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const std::string& pcm,
                 bool listChunk = false)
{
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    const std::string format =
        Le(1, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * align, 4) + Le(align, 2) + Le(bits, 2);
    if (listChunk)
        return Riff(0, "WAVE", {{"fmt ", format}, {"LIST", "INFOabc"}, {"data", pcm}});
    return Riff(0, "WAVE", {{"fmt ", format}, {"data", pcm}});
}

// RIFF files, WAVE among them, and the Ogg files the stream tests keep: chained, mono and stereo,
// and hostile ones.
void Sounds(const fs::path& source)
{
    Seed({"fuzz_riff"}, "three.riff",
         Riff(0, "TEST", {{"abcd", "1234"}, {"odd ", "xyz"}, {"last", std::string(40, 'L')}}));
    Seed({"fuzz_riff"}, "three.rifx",
         Riff(2, "TEST", {{"abcd", "1234"}, {"odd ", "xyz"}, {"same", "1"}, {"same", "22"}}));
    // Chunks carry no pad bytes: an id that starts with a zero byte follows an odd-sized chunk.
    Seed({"fuzz_riff"}, "zero-id-after-odd.riff", Riff(0, "TEST", {{"odd ", "xyz"}, {"\0nxt", "1234"}}));
    Seed({"fuzz_riff"}, "wave.wav", Wave(1, 8000, 8, "abcdefgh", true));
    Seed({"fuzz_sound_reader", "fuzz_static_sound"}, "mono8.wav", Wave(1, 8000, 8, std::string(300, '\x80')));
    Seed({"fuzz_sound_reader", "fuzz_static_sound"}, "stereo16.wav", Wave(2, 22050, 16, Filler(800, 97), true));
    const fs::path folder = source / "tests/KorvaneXDK/core/streams/data";
    for (const auto& entry : fs::directory_iterator(folder))
        Seed({"fuzz_sound_reader", "fuzz_static_sound"}, entry.path().filename(), TempDir::Read(entry.path()));
    // Each link of the chained file is also a plain file of its own: the second begins at the
    // next page marked as a stream's first.
    const std::string chained = TempDir::Read(folder / "chained-stereo-then-mono.ogg");
    std::size_t link = chained.find("OggS", 1);
    while (link != std::string::npos && (chained[link + 5] & 2) == 0)
        link = chained.find("OggS", link + 1);
    Seed({"fuzz_sound_reader", "fuzz_static_sound"}, "stereo-link.ogg", chained.substr(0, link));
    Seed({"fuzz_sound_reader", "fuzz_static_sound"}, "mono-link.ogg", chained.substr(link));
    // Chained the other way round, the second link having more channels than the first.
    Seed({"fuzz_sound_reader", "fuzz_static_sound"}, "mono-then-stereo.ogg",
         chained.substr(link) + chained.substr(0, link));
}

const auto Be = [](std::uint32_t value) { return Le(__builtin_bswap32(value), 4); };

// A PNG chunk: length, type, data and the checksum of type and data.
std::string Chunk(const std::string& type, const std::string& data)
{
    const std::string body = type + data;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
    return Be(static_cast<std::uint32_t>(data.size())) + body + Be(static_cast<std::uint32_t>(crc));
}

// A PNG of the header's colour type and depth, with `extra` chunks (palette, transparency, text)
// before the pixels. An interlaced one is a single pixel, whose one row reads the same either way.
std::string Png(std::uint32_t width, std::uint32_t height, int colourType, int depth, const std::string& extra = "",
                bool interlaced = false)
{
    const std::size_t samples[] = {1, 0, 3, 1, 2, 0, 4};
    const std::size_t rowBytes = (width * samples[colourType] * static_cast<std::size_t>(depth) + 7) / 8;
    std::string rows;
    for (std::uint32_t y = 0; y < height; ++y)
        rows += '\0' + Filler(rowBytes, 7, y * 31);
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(size, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(rows.data()), rows.size());
    packed.resize(size);
    const std::string header = Be(width) + Be(height) + static_cast<char>(depth) + static_cast<char>(colourType) +
                               std::string(2, '\0') + static_cast<char>(interlaced);
    return "\x89PNG\r\n\x1a\n" + Chunk("IHDR", header) + extra + Chunk("IDAT", packed) + Chunk("IEND", "");
}

// A small JPEG written by libjpeg: colour or grey, baseline or progressive.
std::string Jpeg(int width, int height, bool grey, bool progressive)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width * info.input_components));
    while (info.next_scanline < info.image_height) {
        for (std::size_t i = 0; i < row.size(); ++i)
            row[i] = static_cast<JSAMPLE>((i * 9 + info.next_scanline * 17) & 0xFF);
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return out;
}

// A DDS with true header fields and every level present: a FourCC when `fourCC` is set, else the
// bit count and masks of a plain format.
std::string Dds(int width, int height, int levels, const char* fourCC, std::uint32_t bits = 0,
                std::vector<std::uint32_t> masks = {}, std::uint32_t pixelFlags = 0x40)
{
    std::string out = "DDS " + Le(124, 4) + Le(0x1007 | (levels > 1 ? 0x20000u : 0u), 4) + Le(height, 4) +
                      Le(width, 4) + Le(0, 4) + Le(0, 4) + Le(levels, 4) + std::string(44, '\0') + Le(32, 4);
    masks.resize(4);
    if (fourCC != nullptr)
        out += Le(0x4, 4) + std::string(fourCC, 4) + Le(0, 4) + std::string(16, '\0');
    else
        out += Le(pixelFlags, 4) + Le(0, 4) + Le(bits, 4) + Le(masks[0], 4) + Le(masks[1], 4) + Le(masks[2], 4) +
               Le(masks[3], 4);
    out += Le(0x1000, 4) + std::string(16, '\0');
    const std::size_t blockBytes = fourCC == nullptr ? 0 : (std::string(fourCC) == "DXT1" ? 8 : 16);
    for (int level = 0; level < levels; ++level) {
        const std::size_t w = static_cast<std::size_t>(std::max(1, width >> level));
        const std::size_t h = static_cast<std::size_t>(std::max(1, height >> level));
        const std::size_t bytes = blockBytes != 0 ? ((w + 3) / 4) * ((h + 3) / 4) * blockBytes : w * h * bits / 8;
        out += Filler(bytes, 13, static_cast<std::size_t>(level));
    }
    return out;
}

void Images(const fs::path& source)
{
    // Every BMP seeds both the bitmap loader and the graphics layer's decoder.
    const std::pair<std::string, std::string> bitmaps[] = {
        {"24bit.bmp", Bmp(40, 3, 2, 24)},
        {"24bit-top-down.bmp", Bmp(40, 3, -2, 24)},
        {"32bit.bmp", Bmp(40, 2, 2, 32)},
        {"16bit-fields.bmp", Bmp(40, 2, 2, 16, 0, 3, {0xF800, 0x07E0, 0x001F})},
        {"8bit.bmp", Bmp(40, 5, 3, 8, 16)},
        {"8bit-top-down.bmp", Bmp(40, 5, -3, 8, 256)},
        {"4bit.bmp", Bmp(40, 5, 3, 4, 16)},
        {"1bit.bmp", Bmp(40, 9, 2, 1, 2)},
        {"core-8bit.bmp", Bmp(12, 4, 2, 8, 256)},
        {"v5-24bit.bmp", Bmp(124, 2, 2, 24)},
        {"32bit-alpha-fields.bmp", Bmp(40, 2, 2, 32, 0, 6, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u})},
    };
    for (const auto& [name, bytes] : bitmaps)
        Seed({"fuzz_bmp", "fuzz_image"}, name, bytes);
    // Found by fuzzing: a one-colour palette at one bit, its pixels read from the file's start.
    Seed({"fuzz_bmp", "fuzz_image"}, "palette-short.bmp",
         TempDir::Read(source / "tests/KorvaneXDK/core/app/data/palette-short.bmp"));
    const std::pair<std::string, std::string> images[] = {
        {"palette8.png",
         Png(5, 4, PNG_COLOR_TYPE_PALETTE, 8, Chunk("PLTE", Filler(768, 5)) + Chunk("tRNS", std::string("\0\x80", 2)))},
        {"palette2.png", Png(9, 3, PNG_COLOR_TYPE_PALETTE, 2, Chunk("PLTE", Filler(12, 60)))},
        {"grey8.png", Png(4, 4, PNG_COLOR_TYPE_GRAY, 8, Chunk("tRNS", std::string(2, '\0')))}, // grey 0 is clear
        {"grey1.png", Png(11, 2, PNG_COLOR_TYPE_GRAY, 1, Chunk("tEXt", std::string("Comment\0seed", 12)))},
        {"grey-alpha.png", Png(3, 3, PNG_COLOR_TYPE_GRAY_ALPHA, 8)},
        {"rgb.png", Png(4, 3, PNG_COLOR_TYPE_RGB, 8)},
        {"rgba.png", Png(4, 4, PNG_COLOR_TYPE_RGB_ALPHA, 8)},
        {"rgba16.png", Png(3, 2, PNG_COLOR_TYPE_RGB_ALPHA, 16)},
        {"grey16-interlaced.png", Png(1, 1, PNG_COLOR_TYPE_GRAY, 16, "", true)},
        {"small.jpg", Jpeg(16, 8, false, false)},
        {"grey.jpg", Jpeg(9, 9, true, false)},
        {"progressive.jpg", Jpeg(17, 10, false, true)},
        {"dxt1.dds", Dds(8, 8, 4, "DXT1")},
        {"dxt3.dds", Dds(8, 4, 1, "DXT3")},
        {"dxt5.dds", Dds(5, 7, 3, "DXT5")},
        {"a8r8g8b8.dds", Dds(4, 4, 3, nullptr, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000u}, 0x41)},
        {"x8b8g8r8.dds", Dds(3, 2, 1, nullptr, 32, {0xFF, 0xFF00, 0xFF0000, 0})},
        {"r8g8b8.dds", Dds(3, 3, 2, nullptr, 24, {0xFF0000, 0xFF00, 0xFF, 0})},
        {"r5g6b5.dds", Dds(4, 2, 1, nullptr, 16, {0xF800, 0x07E0, 0x001F, 0})},
        {"l8.dds", Dds(4, 4, 1, nullptr, 8, {0xFF, 0, 0, 0}, 0x20000)},
    };
    for (const auto& [name, bytes] : images)
        Seed({"fuzz_image"}, name, bytes);
}

void FontTables()
{
    fontbuild::FontSpec spec;
    spec.fontFiles = {fontbuild::FindFontFile("DejaVuSans.ttf"), fontbuild::FindFontFile("ipagp.ttf")};
    spec.pixelSize = 12;
    spec.characters = {U' ', U'?', U'A', 0x3013};
    fontbuild::BuiltFont font = fontbuild::BuildFont(spec);
    const std::vector<std::uint8_t> kvf = fontbuild::EncodeKvf(font);
    Seed({"fuzz_font_table"}, "table.kvf", std::string(kvf.begin(), kvf.end()));
    font.glyphs.clear();
    const std::vector<std::uint8_t> empty = fontbuild::EncodeKvf(font);
    Seed({"fuzz_font_table"}, "empty.kvf", std::string(empty.begin(), empty.end()));
    Seed({"fuzz_font_table"}, "table.ini",
         "StartCode=20\nEndCode=0x7e\nLeftOffset=1\nTopOffset=-2\n20.x=0\n20.p=4\n41.x=10\n41.y=3\n41.w=9\n41.h=12\n"
         "41.p=9\n3f.w=6\n3F.h=40000\n");
}

// The files the program saves: its preferences and its store's.
void SavedFiles(const fs::path& source)
{
    const std::string folder = fuzz::ScratchFile("");
    korvane::CGraphicsModePreference display;
    CStandardPreferenceHost host(fuzz::InputLayer(), display, folder + "display_setting.ini", folder);
    host.SetMusicVolume(-2500);
    host.SetEffectVolume(-400);
    CPreferenceManager manager(host);
    manager.ResetAllKeyMappings();
    manager.Save();
    Seed({"fuzz_preferences"}, "default.dat", TempDir::Read(manager.GetPreferenceFilePath()));
    // Read back without controllers, every record is kept as read and written back so.
    CStandardPreferenceHost bare(nullptr, display, folder + "display_setting.ini", folder);
    CPreferenceManager kept(bare);
    kept.Load();
    kept.Save();
    Seed({"fuzz_preferences"}, "kept.dat", TempDir::Read(kept.GetPreferenceFilePath()));
    // The local store's files, through the store's own encoders.
    using namespace os::store;
    Seed({"fuzz_store_files"}, kUserFileName,
         EncodeUser({76561190000000001ull, "Seed \xE3\x83\xA6\xE3\x83\xBC\xE3\x82\xB6", "japanese"}));
    Seed({"fuzz_store_files"}, kAchievementsFileName,
         EncodeAchievements({{"ACH_FIRST", 1700000000}, {"ACH_second_2", 1700000060}}));
    Leaderboard board("HighScore", kSortDescending, kDisplayNumeric);
    board.Put({76561190000000001ull, 1200, 1, {1, 2, 3}, "Seed"});
    board.Put({76561190000000002ull, 1500, 2, {}, "Other"});
    board.Put({76561190000000003ull, 1200, 3, {7}, "Third"});
    Seed({"fuzz_store_files"}, BoardFileName("HighScore"), board.Encode());
    // Found by fuzzing: two rows share one upload number.
    Seed({"fuzz_store_files"}, "board-duplicate-upload.dat",
         TempDir::Read(source / "tests/os/store/data/board-duplicate-upload.dat"));
}

// The configuration dialog's saved choice as the library writes it, and ones found by fuzzing
// whose fields the dialog never offers (depth 8, multisample 3 and 99, anisotropy 9).
void DialogChoices()
{
    Seed({"fuzz_confdlg_choice"}, "offered.txt", os::confdlg::FormatChoice({0, 1, 4, 8, 0, 32, 0}));
    Seed({"fuzz_confdlg_choice"}, "default.txt", os::confdlg::FormatChoice({0, 1, 0, 1, 1, 24, 1}));
    const char* const refused[] = {"\t0 0 0 1 1 8 1\n", "\t0 0 3 1 1 24 1\n", "\t0 0 0 9 1 24 1\n",
                                   "\t0 0 99 1 1 24 1\n"};
    for (std::size_t i = 0; i < std::size(refused); ++i)
        Seed({"fuzz_confdlg_choice"}, "refused" + std::to_string(i) + ".txt", refused[i]);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds FOLDER SOURCE_FOLDER\n");
        return 2;
    }
    root = argv[1];
    fs::remove_all(root); // seeds of an earlier build go with it
    Archives();
    PropertyTables(argv[2]);
    Sounds(argv[2]);
    Images(argv[2]);
    FontTables();
    SavedFiles(argv[2]);
    DialogChoices();
    return 0;
}
