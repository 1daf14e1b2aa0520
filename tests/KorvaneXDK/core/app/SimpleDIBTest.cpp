/** @file SimpleDIBTest.cpp BMP decoding, header checks, drawing and files; the paint surface it draws on; the rule
 * it shares with the graphics layer's BMP decoder. */
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/ResultCodes.h"
#include "os/window/PaintSurface.h"
#include "support/ExpectThrow.h"
#include "support/TempDir.h"

namespace korvane::test
{
namespace
{

using os::window::Bitmap;
using os::window::PaintSurface;

std::vector<std::uint32_t> Pixels(const Bitmap& image)
{
    return {image.GetPixels(), image.GetPixels() + image.GetWidth() * image.GetHeight()};
}

int CountColour(const Bitmap& image, std::uint32_t argb)
{
    return static_cast<int>(std::ranges::count(Pixels(image), argb));
}

// Writes the low `bytes` bytes of v at `at`, least significant first, growing s as needed.
void Put(std::string& s, std::size_t at, std::uint32_t v, int bytes = 4)
{
    s.resize(std::max(s.size(), at + bytes));
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct BmpSpec
{
    int width = 2;
    int height = 2; ///< negative: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks{};   ///< written after a 40-byte header for bit fields
    std::vector<std::uint32_t> palette{}; ///< 0x00RRGGBB
    std::uint32_t colorsUsed = 0;
    int headerSize = 40;
    /// Rows of pixel bytes in file order (each row padded by Make).
    std::vector<std::string> rows{};
};

// Writes a BMP exactly as described; sizes and offsets are the true ones.
std::string Make(const BmpSpec& spec)
{
    const bool core = spec.headerSize == 12; // the old header has 16-bit sizes and no more fields
    const int size = core ? 2 : 4;
    std::string header = "BM" + std::string(12 + spec.headerSize, '\0');
    Put(header, 14, spec.headerSize);
    Put(header, 18, spec.width, size);
    Put(header, 18 + size, spec.height, size);
    Put(header, 18 + 2 * size, 1, 2);
    Put(header, 20 + 2 * size, spec.bpp, 2);
    if (!core) {
        Put(header, 30, spec.compression);
        Put(header, 46, spec.colorsUsed);
    }
    std::string extra;
    for (std::uint32_t mask : spec.masks)
        Put(extra, extra.size(), mask);
    for (std::uint32_t colour : spec.palette)
        Put(extra, extra.size(), colour, core ? 3 : 4);
    const std::size_t stride = (static_cast<std::size_t>(spec.width) * spec.bpp + 31) / 32 * 4;
    std::string bits;
    for (const std::string& row : spec.rows)
        bits += (row + std::string(stride, '\0')).substr(0, stride);
    std::string file = header + extra + bits;
    Put(file, 2, static_cast<std::uint32_t>(file.size()));
    Put(file, 10, static_cast<std::uint32_t>(header.size() + extra.size()));
    return file;
}

std::string Bytes(std::initializer_list<int> values)
{
    return std::string(values.begin(), values.end());
}

void LoadBytes(CSimpleDIB& dib, const std::string& bytes, const std::string& before = "")
{
    CMemoryStream stream;
    stream.Write((before + bytes).data(), static_cast<std::int32_t>(before.size() + bytes.size()));
    stream.Seek(static_cast<std::int32_t>(before.size()));
    dib.Load(stream);
}

const std::string kValidBmp =
    Make({.width = 4, .height = 3, .rows = std::vector<std::string>(3, std::string(12, '\x55'))});

std::string Patched(std::size_t at, std::uint32_t value, int width = 4)
{
    std::string s = kValidBmp;
    Put(s, at, value, width);
    return s;
}

/// Good images of every pixel format, each with its pixels top row first.
std::vector<std::tuple<const char*, BmpSpec, std::vector<std::uint32_t>>> FormatCases()
{
    std::vector<std::uint32_t> palette16(16, 0);
    palette16[0x1] = 0x0000FF;
    palette16[0xF] = 0xFF0000;
    palette16[0x2] = 0x00FF00;
    // clang-format off
    return {
        // File order is bottom row first; bytes are blue, green, red; rows are padded. Images top row first.
        {"24-bit bottom-up", {.width = 3, .rows = {Bytes({1, 2, 3, 4, 5, 6, 7, 8, 9}),
                                                   Bytes({0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF})}},
         {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF030201, 0xFF060504, 0xFF090807}},
        {"32-bit top-down, alpha made opaque",
         {.height = -2, .bpp = 32, .rows = {Bytes({0x10, 0x20, 0x30, 0, 0x40, 0x50, 0x60, 0x7F}),
                                            Bytes({1, 2, 3, 4, 5, 6, 7, 8})}},
         {0xFF302010, 0xFF605040, 0xFF030201, 0xFF070605}},
        // 200 lies beyond the palette: black.
        {"8-bit", {.width = 3, .height = 1, .bpp = 8, .palette = {0x112233, 0xAABBCC}, .colorsUsed = 2,
                   .rows = {Bytes({1, 0, 200})}},
         {0xFFAABBCC, 0xFF112233, 0xFF000000}},
        {"4-bit", {.width = 3, .height = 1, .bpp = 4, .palette = palette16, .rows = {Bytes({0x1F, 0x20})}},
         {0xFF0000FF, 0xFFFF0000, 0xFF00FF00}},
        {"1-bit", {.width = 10, .height = 1, .bpp = 1, .palette = {0x000000, 0xFFFFFF},
                   .rows = {Bytes({0xA0, 0x40})}},
         {0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000,
          0xFF000000, 0xFFFFFFFF}},
        // Pure red and pure blue in 5-5-5.
        {"16-bit", {.height = 1, .bpp = 16, .rows = {Bytes({0x00, 0x7C, 0x1F, 0x00})}}, {0xFFFF0000, 0xFF0000FF}},
        // Pure green; 0x8410 is mid grey in 5-6-5.
        {"16-bit bit fields", {.height = 1, .bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F},
                               .rows = {Bytes({0xE0, 0x07, 0x10, 0x84})}},
         {0xFF00FF00, 0xFF848284}},
        {"old core header", {.width = 1, .height = 1, .headerSize = 12, .rows = {Bytes({0x33, 0x22, 0x11})}},
         {0xFF112233}},
    };
    // clang-format on
}

TEST(SimpleDIB, DecodesEveryPixelFormatToOpaque32BitPixelsTopRowFirst)
{
    for (const auto& [name, spec, pixels] : FormatCases()) {
        SCOPED_TRACE(name);
        CSimpleDIB dib;
        LoadBytes(dib, Make(spec));
        ASSERT_NE(dib.GetHandle(), nullptr);
        EXPECT_EQ((std::vector<int>{dib.GetWidth(), dib.GetHeight(), dib.GetDescription().bitsPixel,
                                    dib.GetDescription().widthBytes}),
                  (std::vector<int>{spec.width, std::abs(spec.height), 32, spec.width * 4}));
        EXPECT_EQ(dib.GetDescription().bits, dib.GetHandle()->GetPixels());
        const std::uint32_t* image = dib.GetHandle()->GetPixels();
        EXPECT_EQ(std::vector(image, image + pixels.size()), pixels);
    }
}

/// How the loader refuses a file: the format error when it is no BMP or a size or offset does not fit
/// the file, the load error when its headers describe an image the loader cannot make.
enum class Refusal
{
    Format,
    Load
};

/// Headers that do not fit their data or describe no image the loader can make.
std::vector<std::tuple<std::string, std::string, Refusal>> BrokenCases()
{
    const std::string& valid = kValidBmp;
    using enum Refusal;
    // clang-format off
    return {
        {"not BM", "PM" + valid.substr(2), Format},
        {"shorter than its file header", valid.substr(0, 10), Format},
        {"declared size beyond the data", Patched(2, static_cast<std::uint32_t>(valid.size() + 1)), Format},
        {"declared size smaller than the headers", Patched(2, 20), Format},
        {"unknown info header size", Patched(14, 41), Load},
        {"info header beyond the data", Patched(14, 124), Format},
        {"zero width", Patched(18, 0), Load},
        {"negative width", Patched(18, 0xFFFFFFFFu), Load},
        {"zero height", Patched(22, 0), Load},
        {"width too large", Patched(18, 20000), Load},
        {"height most negative", Patched(22, 0x80000000u), Load},
        {"two planes", Patched(26, 2, 2), Load},
        {"7 bits per pixel", Patched(28, 7, 2), Load},
        {"run-length compression", Patched(30, 1), Load},
        {"bit offset inside the headers", Patched(10, 20), Format},
        {"bits beyond the data", Patched(10, static_cast<std::uint32_t>(valid.size() - 10)), Format},
        {"rows beyond the data", Patched(22, 4), Format},
        // Not one run of bits.
        {"split mask", Make({.width = 1, .height = 1, .bpp = 32, .compression = 3,
                             .masks = {0x00F0F000, 0x0000FF00, 0x000000FF}, .rows = {std::string(4, '\0')}}), Load},
        {"split alpha mask", Make({.width = 1, .height = 1, .bpp = 32, .compression = 6,
                                   .masks = {0xFF0000, 0xFF00, 0xFF, 0xF0F00000u}, .rows = {std::string(4, '\0')}}),
         Load},
        // Bits the pixel does not have.
        {"red mask outside the pixel", Make({.width = 1, .height = 1, .bpp = 16, .compression = 3,
                                             .masks = {0x00010000, 0x07E0, 0x001F}, .rows = {Bytes({0, 0})}}), Load},
        {"alpha mask outside the pixel", Make({.width = 1, .height = 1, .bpp = 16, .compression = 6,
                                               .masks = {0x7C00, 0x03E0, 0x001F, 0x10000}, .rows = {Bytes({0, 0})}}),
         Load},
        // The old core header has no top-down form: its sizes are unsigned.
        {"old core header 65535 high", Make({.width = 1, .height = -1, .headerSize = 12, .rows = {Bytes({1, 2, 3})}}),
         Load},
        {"palette beyond the data", Make({.width = 1, .height = 1, .bpp = 8, .palette = {0x123456},
                                          .colorsUsed = 200, .rows = {std::string(1, '\0')}}), Format},
    };
    // clang-format on
}

TEST(SimpleDIB, RefusesHeadersThatDoNotFitTheDataOrMakeNoImageAndAFailedLoadLeavesItEmpty)
{
    for (const auto& [name, bytes, refusal] : BrokenCases()) {
        CSimpleDIB dib;
        LoadBytes(dib, kValidBmp);
        SCOPED_TRACE(name);
        if (refusal == Refusal::Format)
            ExpectThrowWith<EInvalidFileFormat>([&] { LoadBytes(dib, bytes); },
                                                "ビットマップファイルフォーマットが不正です.",
                                                "class korvane::CSimpleDIB");
        else
            ExpectThrowWith<EReadError>([&] { LoadBytes(dib, bytes); }, "ビットマップをロードできませんでした.",
                                        "class korvane::CSimpleDIB");
        // A failed load leaves the object empty.
        EXPECT_EQ(std::pair(dib.GetHandle() == nullptr, dib.GetWidth()), std::pair(true, 0));
    }
}

/// A 2 x 2 top-down image whose pixels are blue 1, 2 in its top row and 3, 4 below.
const std::string kTwoByTwo = Make({.height = -2, .rows = {Bytes({1, 0, 0, 2, 0, 0}), Bytes({3, 0, 0, 4, 0, 0})}});

TEST(SimpleDIB, DrawsTheRectangleOnlyWhenLoadedAndToASurface)
{
    // Drawing copies the rectangle only when loaded and to a surface; its clipping is the paint
    // surface's blit (PaintSurface.BlitsClipAgainstSourceAndTarget).
    PaintSurface surface(4, 4, 0xFF000000u);
    CSimpleDIB dib;
    dib.Draw(&surface, 0, 0);
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF000000u);
    LoadBytes(dib, kTwoByTwo);
    dib.Draw(nullptr, 0, 0);
    dib.Draw(&surface, 0, 0, 1, 2, 1, 0); // the right column
    dib.Draw(&surface, 2, 2);             // the whole image
    EXPECT_EQ((std::vector<std::uint32_t>{surface.GetPixel(0, 0), surface.GetPixel(0, 1), surface.GetPixel(1, 0),
                                          surface.GetPixel(2, 2), surface.GetPixel(3, 3)}),
              (std::vector<std::uint32_t>{0xFF000002u, 0xFF000004u, 0xFF000000u, 0xFF000001u, 0xFF000004u}));
}

TEST(SimpleDIB, LoadsFromFilesAndFromTheStreamsPositionReplacingTheImage)
{
    CSimpleDIB dib;
    LoadBytes(dib, kTwoByTwo);
    TempDir temp;
    dib.LoadFromFile(temp.Write(
        "banner.bmp", Make({.width = 3, .height = 3, .rows = std::vector<std::string>(3, Bytes({7, 8, 9}))})));
    EXPECT_EQ(std::pair(dib.GetHandle()->GetPixel(0, 0), dib.GetWidth()), std::pair(0xFF090807u, 3));

    LoadBytes(dib, Make({.width = 1, .height = 1, .rows = {Bytes({1, 2, 3})}}), "junk!");
    EXPECT_EQ(std::tuple(dib.GetHandle()->GetPixel(0, 0), dib.GetWidth(), dib.GetHandle()->GetWidth()),
              std::tuple(0xFF030201u, 1, 1));
    EXPECT_THROW(dib.LoadFromFile(temp.File("missing.bmp")), EFileOpenError);
}

TEST(PaintSurface, FillsAreOpaqueAndClippedAndNegativeSizesDrawNothing)
{
    PaintSurface painted(8, 6, 0);
    painted.FillRect(-3, -2, 5, 4, 0x202020);
    painted.FillRect(6, 4, 100, 100, 0x11FFEEDD); // the alpha byte of the colour is ignored
    painted.FillRect(2, 2, -5, 3, 0x123456);      // negative sizes draw nothing
    painted.FillRect(0x7FFFFFF0, 0, 0x7FFFFFF0, 2, 0x123456);
    EXPECT_EQ((std::vector<int>{CountColour(painted, 0xFF202020u), CountColour(painted, 0xFFFFEEDDu),
                                CountColour(painted, 0xFF123456u)}),
              (std::vector<int>{2 * 2, 4, 0}));
    EXPECT_EQ(painted.GetPixel(7, 5), 0xFFFFEEDDu);
}

TEST(PaintSurface, BlitsClipAgainstSourceAndTarget)
{
    Bitmap source(3, 3);
    for (int i = 0; i < 9; ++i)
        source.SetPixel(i % 3, i / 3, 0xFF000000u | static_cast<std::uint32_t>(i + 1));
    PaintSurface target(4, 4, 0);
    target.Blit(source, -1, -1, 3, 3, 0, 0); // the top-left pixel of the source falls off
    target.Blit(source, 3, 3, 10, 10, 2, 2);
    EXPECT_EQ((std::vector<std::uint32_t>{target.GetPixel(0, 0), target.GetPixel(1, 1), target.GetPixel(2, 2),
                                          target.GetPixel(3, 3)}),
              (std::vector<std::uint32_t>{0xFF000005u, 0xFF000009u, 0u, 0xFF000009u}));
    const std::uint32_t corner = target.GetPixel(0, 0);
    target.Blit(source, 0, 0, 2, 2, 5, 5);   // source rectangle outside the source
    target.Blit(source, 0, 0, 3, 3, -2, -2); // only the source's (0,0) lands at (2,2)
    EXPECT_EQ(std::pair(target.GetPixel(2, 2), target.GetPixel(0, 0)), std::pair(0xFF000001u, corner));
}

TEST(PaintSurface, TextUsesTheFixedCellAndDrawsOnlyInk)
{
    int width = 0, height = 0;
    PaintSurface::MeasureText("-- P A U S E D --", width, height);
    EXPECT_EQ(std::pair(width, height), std::pair(17 * PaintSurface::kGlyphWidth, PaintSurface::kGlyphHeight));
    PaintSurface text(20, 20, 0xFF202020u);
    text.DrawText(0, 0, "|", 0xDCDCDC);
    // The bar is the middle column of the glyph, seven rows tall, starting three rows down.
    EXPECT_EQ(CountColour(text, 0xFFDCDCDCu), 7);
    EXPECT_EQ((std::vector<std::uint32_t>{text.GetPixel(2, 3), text.GetPixel(2, 9), text.GetPixel(2, 2)}),
              (std::vector<std::uint32_t>{0xFFDCDCDCu, 0xFFDCDCDCu, 0xFF202020u}));
}

TEST(PaintSurface, UnprintableBytesDrawQuestionMarksAndClipAtTheEdge)
{
    PaintSurface other(20, 20, 0), question(20, 20, 0);
    other.DrawText(14, 15, "\x01\xFF", 0xFFFFFF);
    question.DrawText(14, 15, "??", 0xFFFFFF);
    EXPECT_GT(CountColour(other, 0xFFFFFFFFu), 0);
    EXPECT_EQ(Pixels(other), Pixels(question));
}

/// What the graphics layer's decoder makes of the same bytes.
struct GraphicsDecode
{
    bool accepted = false;
    bool hasAlpha = false;
    std::vector<std::uint32_t> pixels;
    std::string error;
};

GraphicsDecode DecodeInGraphicsLayer(const std::string& bytes)
{
    os::gfx::DecodedImage image;
    GraphicsDecode result;
    result.accepted = os::gfx::DecodeBmp(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                         os::gfx::DecodeLimits(), &image) == os::gfx::kOk;
    result.error = image.error;
    if (result.accepted) {
        result.hasAlpha = image.hasAlpha;
        result.pixels.resize(image.levels.at(0).size() / 4);
        std::memcpy(result.pixels.data(), image.levels[0].data(), result.pixels.size() * 4);
    }
    return result;
}

/// The engine loader's pixels, or nothing when it refuses the bytes.
std::optional<std::vector<std::uint32_t>> LoadInEngine(const std::string& bytes)
{
    CSimpleDIB dib;
    try {
        LoadBytes(dib, bytes);
    } catch (const EInvalidFileFormat&) {
        return std::nullopt;
    } catch (const EReadError&) {
        return std::nullopt;
    }
    return Pixels(*dib.GetHandle());
}

constexpr std::uint32_t kBlack = 0xFF000000u;

/// Indexed images whose palette is shorter than their bit depth allows: whether they load, and their pixels.
std::vector<std::tuple<const char*, std::string, bool, std::vector<std::uint32_t>>> ShortPaletteCases()
{
    // clang-format off
    return {
        // Found by fuzzing: 146 x 1 at one bit, one colour, a declared size far beyond its 58 bytes and
        // pixels said to start inside the file header.
        {"one colour of two, lying header",
         TempDir::Read(KORVANE_SOURCE_DIR "/tests/KorvaneXDK/core/app/data/palette-short.bmp"), false, {}},
        {"1-bit, one colour", Make({.width = 9, .height = 1, .bpp = 1, .palette = {0xFFFFFF}, .colorsUsed = 1,
                                    .rows = {Bytes({0xA0, 0x80})}}), true,
         {kBlack, 0xFFFFFFFF, kBlack, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, kBlack}},
        {"4-bit, three colours", Make({.width = 3, .height = 1, .bpp = 4, .palette = {0x0000FF, 0x00FF00, 0xFF0000},
                                       .colorsUsed = 3, .rows = {Bytes({0x2F, 0x30})}}), true,
         {0xFFFF0000, kBlack, kBlack}},
        {"8-bit, two colours", Make({.width = 3, .height = 1, .bpp = 8, .palette = {0x112233, 0xAABBCC},
                                     .colorsUsed = 2, .rows = {Bytes({1, 0, 200})}}), true,
         {0xFFAABBCC, 0xFF112233, kBlack}},
    };
    // clang-format on
}

// Both decoders make an index past a short palette opaque black, and neither gives an image
// without alpha a clear pixel.
TEST(BmpDecoders, BothMakeAnIndexPastAShortPaletteOpaqueBlack)
{
    for (const auto& [name, bytes, loads, pixels] : ShortPaletteCases()) {
        SCOPED_TRACE(name);
        const GraphicsDecode decoded = DecodeInGraphicsLayer(bytes);
        const std::optional<std::vector<std::uint32_t>> loaded = LoadInEngine(bytes);
        ASSERT_EQ(std::pair(decoded.accepted, loaded.has_value()), std::pair(loads, loads)) << decoded.error;
        if (loads) {
            EXPECT_EQ(std::tuple(decoded.hasAlpha, decoded.pixels, *loaded), std::tuple(false, pixels, pixels));
        }
    }
}

/// The bytes the engine's loader reads of a file: as many as its header declares, when they are there.
std::optional<std::string> DeclaredFile(const std::string& bytes)
{
    if (bytes.size() < 14)
        return std::nullopt;
    std::uint32_t declared = 0;
    for (int i = 0; i < 4; ++i)
        declared |= std::uint32_t(static_cast<std::uint8_t>(bytes[2 + i])) << (8 * i);
    if (declared < 14 || declared > bytes.size())
        return std::nullopt;
    return bytes.substr(0, declared);
}

// One header reader serves both: every BMP of these tests, among them each layout the texture tests
// and the fuzz seeds write, gets one verdict from both, and the same colours where both accept (the
// engine's loader makes every pixel opaque, the graphics layer keeps an alpha channel the image has).
// The engine's loader reads the file as long as its header declares it, refusing a declared size that
// is not there; the decoder reads what it is given, so it is given those same bytes.
TEST(BmpDecoders, GiveEveryInputTheSameVerdictAndTheSameColours)
{
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const auto& [name, bytes, refusal] : BrokenCases())
        inputs.emplace_back(name, bytes);
    for (const auto& [name, spec, pixels] : FormatCases())
        inputs.emplace_back(name, Make(spec));
    for (const auto& [name, bytes, loads, pixels] : ShortPaletteCases())
        inputs.emplace_back(name, bytes);
    std::string cut = kValidBmp.substr(0, kValidBmp.size() - 1);
    Put(cut, 2, static_cast<std::uint32_t>(cut.size()));
    std::vector<std::uint32_t> sixteenColours, allColours;
    for (std::uint32_t i = 0; i < 16; ++i)
        sixteenColours.push_back(i * 0x111111u);
    for (std::uint32_t i = 0; i < 256; ++i)
        allColours.push_back(i * 0x010203u);
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> more = {
        {"32-bit alpha bit fields, top-down",
         Make({.height = -2, .bpp = 32, .compression = 6, .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000u},
               .rows = {Bytes({1, 2, 3, 0x40, 4, 5, 6, 0x80}), Bytes({7, 8, 9, 0, 10, 11, 12, 0xFF})}})},
        // The old core header always has a colour for every index.
        {"old core header, 8-bit, 16 colours",
         Make({.width = 4, .bpp = 8, .palette = sixteenColours, .headerSize = 12,
               .rows = {Bytes({0, 5, 15, 16}), Bytes({1, 2, 3, 4})}})},
        {"old core header, 8-bit, 256 colours",
         Make({.width = 4, .bpp = 8, .palette = allColours, .headerSize = 12,
               .rows = {Bytes({0, 5, 15, 255}), Bytes({1, 2, 3, 4})}})},
        {"version 5 header, 24-bit", Make({.headerSize = 124, .rows = {Bytes({1, 2, 3, 4, 5, 6}),
                                                                        Bytes({7, 8, 9, 10, 11, 12})}})},
        {"64-byte header", Patched(14, 64)},
        {"cut in its pixels, its declared size too", cut},
        {"bytes after the declared file", kValidBmp + "more"},
    };
    // clang-format on
    inputs.insert(inputs.end(), more.begin(), more.end());
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const std::optional<std::vector<std::uint32_t>> loaded = LoadInEngine(bytes);
        const std::optional<std::string> file = DeclaredFile(bytes);
        if (!file) {
            EXPECT_FALSE(loaded.has_value()) << "read although its declared size is not there";
            continue;
        }
        GraphicsDecode decoded = DecodeInGraphicsLayer(*file);
        EXPECT_EQ(decoded.accepted, loaded.has_value()) << decoded.error;
        if (!decoded.accepted || !loaded)
            continue;
        for (std::uint32_t& pixel : decoded.pixels)
            pixel |= decoded.hasAlpha ? kBlack : 0;
        EXPECT_EQ(decoded.pixels, *loaded);
    }
}

} // namespace
} // namespace korvane::test
