/** @file SimpleDIBTest.cpp BMP decoding of each pixel format, header checks, drawing and files. */
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "KorvaneXDK/core/Exception.h"
#include "KorvaneXDK/core/MemoryStream.h"
#include "KorvaneXDK/core/SimpleDIB.h"
#include "tests/support/TempDir.h"

namespace korvane::test
{
namespace
{

void Put16(std::string& s, std::size_t at, std::uint32_t v)
{
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct BmpSpec
{
    int width = 2;
    int height = 2; ///< negative: top-down
    int bpp = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;   ///< written after a 40-byte header for bit fields
    std::vector<std::uint32_t> palette; ///< 0x00RRGGBB
    std::uint32_t colorsUsed = 0;
    int headerSize = 40;
    /// Rows of pixel bytes in file order (each row padded by Make).
    std::vector<std::string> rows;
};

// Writes a BMP exactly as described; sizes and offsets are the true ones.
std::string Make(const BmpSpec& spec)
{
    std::string header(14 + spec.headerSize, '\0');
    header[0] = 'B';
    header[1] = 'M';
    Put32(header, 14, static_cast<std::uint32_t>(spec.headerSize));
    if (spec.headerSize == 12)
    {
        Put16(header, 18, static_cast<std::uint32_t>(spec.width));
        Put16(header, 20, static_cast<std::uint32_t>(spec.height));
        Put16(header, 22, 1);
        Put16(header, 24, static_cast<std::uint32_t>(spec.bpp));
    }
    else
    {
        Put32(header, 18, static_cast<std::uint32_t>(spec.width));
        Put32(header, 22, static_cast<std::uint32_t>(spec.height));
        Put16(header, 26, 1);
        Put16(header, 28, static_cast<std::uint32_t>(spec.bpp));
        Put32(header, 30, spec.compression);
        Put32(header, 46, spec.colorsUsed);
    }
    std::string extra;
    for (std::uint32_t mask : spec.masks)
    {
        std::string m(4, '\0');
        Put32(m, 0, mask);
        extra += m;
    }
    for (std::uint32_t colour : spec.palette)
    {
        extra += static_cast<char>(colour & 0xFF);
        extra += static_cast<char>((colour >> 8) & 0xFF);
        extra += static_cast<char>((colour >> 16) & 0xFF);
        if (spec.headerSize != 12)
            extra += '\0';
    }
    const std::size_t stride = (static_cast<std::size_t>(spec.width) * spec.bpp + 31) / 32 * 4;
    std::string bits;
    for (const std::string& row : spec.rows)
    {
        std::string padded = row;
        padded.resize(stride, '\0');
        bits += padded;
    }
    std::string file = header + extra + bits;
    Put32(file, 2, static_cast<std::uint32_t>(file.size()));
    Put32(file, 10, static_cast<std::uint32_t>(header.size() + extra.size()));
    return file;
}

std::string Bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

void LoadBytes(CSimpleDIB& dib, const std::string& bytes)
{
    CMemoryStream stream;
    stream.Write(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.Seek(0);
    dib.Load(stream);
}

std::uint32_t Pixel(const CSimpleDIB& dib, int x, int y)
{
    return dib.GetHandle()->GetPixel(x, y);
}

TEST(SimpleDIB, Decodes24BitBottomUpRowsWithPadding)
{
    BmpSpec spec;
    spec.width = 3;
    spec.height = 2;
    // File order is bottom row first; bytes are blue, green, red.
    spec.rows = {Bytes({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09}),
                 Bytes({0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0xFF})};
    CSimpleDIB dib;
    LoadBytes(dib, Make(spec));
    ASSERT_NE(dib.GetHandle(), nullptr);
    EXPECT_EQ(dib.GetWidth(), 3);
    EXPECT_EQ(dib.GetHeight(), 2);
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF00FF00u);
    EXPECT_EQ(Pixel(dib, 2, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(dib, 0, 1), 0xFF030201u);
    EXPECT_EQ(Pixel(dib, 2, 1), 0xFF090807u);
    EXPECT_EQ(dib.GetDescription().bitsPixel, 32);
    EXPECT_EQ(dib.GetDescription().widthBytes, 12);
    EXPECT_EQ(dib.GetDescription().bits, dib.GetHandle()->GetPixels());
}

TEST(SimpleDIB, Decodes32BitTopDownWithOpaqueAlpha)
{
    BmpSpec spec;
    spec.bpp = 32;
    spec.height = -2;
    spec.rows = {Bytes({0x10, 0x20, 0x30, 0x00, 0x40, 0x50, 0x60, 0x7F}), Bytes({1, 2, 3, 4, 5, 6, 7, 8})};
    CSimpleDIB dib;
    LoadBytes(dib, Make(spec));
    EXPECT_EQ(dib.GetHeight(), 2);
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF302010u);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF605040u);
    EXPECT_EQ(Pixel(dib, 1, 1), 0xFF070605u);
}

TEST(SimpleDIB, DecodesPalettedFormats)
{
    BmpSpec eight;
    eight.bpp = 8;
    eight.width = 3;
    eight.height = 1;
    eight.colorsUsed = 2;
    eight.palette = {0x112233, 0xAABBCC};
    eight.rows = {Bytes({1, 0, 200})}; // 200 lies beyond the palette: black
    CSimpleDIB dib;
    LoadBytes(dib, Make(eight));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFFAABBCCu);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF112233u);
    EXPECT_EQ(Pixel(dib, 2, 0), 0xFF000000u);

    BmpSpec four;
    four.bpp = 4;
    four.width = 3;
    four.height = 1;
    four.palette.assign(16, 0);
    four.palette[0x1] = 0x0000FF;
    four.palette[0xF] = 0xFF0000;
    four.palette[0x2] = 0x00FF00;
    four.rows = {Bytes({0x1F, 0x20})};
    LoadBytes(dib, Make(four));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(dib, 2, 0), 0xFF00FF00u);

    BmpSpec one;
    one.bpp = 1;
    one.width = 10;
    one.height = 1;
    one.palette = {0x000000, 0xFFFFFF};
    one.rows = {Bytes({0xA0, 0x40})};
    LoadBytes(dib, Make(one));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(dib, 2, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(dib, 9, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(dib, 8, 0), 0xFF000000u);
}

TEST(SimpleDIB, Decodes16BitAsFiveFiveFiveOrByBitFields)
{
    BmpSpec plain;
    plain.bpp = 16;
    plain.width = 2;
    plain.height = 1;
    plain.rows = {Bytes({0x00, 0x7C, 0x1F, 0x00})}; // pure red, pure blue in 5-5-5
    CSimpleDIB dib;
    LoadBytes(dib, Make(plain));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF0000FFu);

    BmpSpec masked = plain;
    masked.compression = 3;
    masked.masks = {0xF800, 0x07E0, 0x001F};
    masked.rows = {Bytes({0xE0, 0x07, 0x10, 0x84})}; // pure green; 0x8410 is mid grey in 5-6-5
    LoadBytes(dib, Make(masked));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF00FF00u);
    EXPECT_EQ(Pixel(dib, 1, 0), 0xFF848284u);
}

TEST(SimpleDIB, DecodesTheOldCoreHeader)
{
    BmpSpec spec;
    spec.headerSize = 12;
    spec.width = 1;
    spec.height = 1;
    spec.rows = {Bytes({0x33, 0x22, 0x11})};
    CSimpleDIB dib;
    LoadBytes(dib, Make(spec));
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF112233u);
}

TEST(SimpleDIB, LoadsFromTheStreamPosition)
{
    BmpSpec spec;
    spec.width = 1;
    spec.height = 1;
    spec.rows = {Bytes({1, 2, 3})};
    const std::string bmp = Make(spec);
    CMemoryStream stream;
    stream.Write("junk!", 5);
    stream.Write(bmp.data(), static_cast<std::int32_t>(bmp.size()));
    stream.Seek(5);
    CSimpleDIB dib;
    dib.Load(stream);
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF030201u);
}

std::string ValidBmp()
{
    BmpSpec spec;
    spec.width = 4;
    spec.height = 3;
    spec.rows.assign(3, std::string(12, '\x55'));
    return Make(spec);
}

std::string Patched(std::size_t at, std::uint32_t value, int width = 4)
{
    std::string s = ValidBmp();
    if (width == 2)
        Put16(s, at, value);
    else
        Put32(s, at, value);
    return s;
}

TEST(SimpleDIB, RejectsHeadersThatDoNotFitTheData)
{
    const std::string valid = ValidBmp();
    std::vector<std::pair<std::string, std::string>> cases = {
        {"not BM", "PM" + valid.substr(2)},
        {"shorter than its file header", valid.substr(0, 10)},
        {"declared size beyond the data", Patched(2, static_cast<std::uint32_t>(valid.size() + 1))},
        {"declared size smaller than the headers", Patched(2, 20)},
        {"huge declared size", Patched(2, 0xFFFFFFFFu)},
        {"unknown info header size", Patched(14, 41)},
        {"info header beyond the data", Patched(14, 124)},
        {"zero width", Patched(18, 0)},
        {"negative width", Patched(18, 0xFFFFFFFFu)},
        {"zero height", Patched(22, 0)},
        {"width too large", Patched(18, 20000)},
        {"height most negative", Patched(22, 0x80000000u)},
        {"two planes", Patched(26, 2, 2)},
        {"7 bits per pixel", Patched(28, 7, 2)},
        {"run-length compression", Patched(30, 1)},
        {"bit offset inside the headers", Patched(10, 20)},
        {"bits beyond the data", Patched(10, static_cast<std::uint32_t>(valid.size() - 10))},
        {"rows beyond the data", Patched(22, 4)},
    };
    BmpSpec badMask;
    badMask.bpp = 32;
    badMask.width = 1;
    badMask.height = 1;
    badMask.compression = 3;
    badMask.masks = {0x00F0F000, 0x0000FF00, 0x000000FF}; // not one run of bits
    badMask.rows = {std::string(4, '\0')};
    cases.emplace_back("split mask", Make(badMask));
    BmpSpec missingPalette;
    missingPalette.bpp = 8;
    missingPalette.width = 1;
    missingPalette.height = 1;
    missingPalette.colorsUsed = 200;
    missingPalette.palette = {0x123456};
    missingPalette.rows = {std::string(1, '\0')};
    cases.emplace_back("palette beyond the data", Make(missingPalette));

    for (const auto& [name, bytes] : cases)
    {
        CSimpleDIB dib;
        LoadBytes(dib, valid);
        try
        {
            LoadBytes(dib, bytes);
            ADD_FAILURE() << name << ": accepted";
        }
        catch (const EInvalidFileFormat& e)
        {
            EXPECT_EQ(e.GetMessage(), "ビットマップファイルフォーマットが不正です.") << name;
            EXPECT_EQ(e.GetWhere(), "class korvane::CSimpleDIB") << name;
        }
        // A failed load leaves the object empty.
        EXPECT_EQ(dib.GetHandle(), nullptr) << name;
        EXPECT_EQ(dib.GetWidth(), 0) << name;
    }
}

TEST(SimpleDIB, DamagedFilesAreRejectedOrDecodedNeverReadOutside)
{
    const std::string valid = []
    {
        BmpSpec spec;
        spec.bpp = 8;
        spec.width = 5;
        spec.height = -3;
        spec.palette.assign(4, 0x808080);
        spec.colorsUsed = 4;
        spec.rows.assign(3, std::string(5, '\x03'));
        return Make(spec);
    }();
    std::mt19937 random(1234);
    for (int round = 0; round < 3000; ++round)
    {
        std::string bytes = valid;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i)
            bytes[random() % 60] = static_cast<char>(random() & 0xFF);
        if (random() % 5 == 0)
            bytes.resize(random() % bytes.size());
        CSimpleDIB dib;
        try
        {
            LoadBytes(dib, bytes);
            ASSERT_NE(dib.GetHandle(), nullptr);
        }
        catch (const EInvalidFileFormat&)
        {
            EXPECT_EQ(dib.GetHandle(), nullptr);
        }
    }
}

TEST(SimpleDIB, DrawCopiesTheRectangleAndDoesNothingWhenEmpty)
{
    os::window::PaintSurface surface(4, 4, 0xFF000000u);
    CSimpleDIB dib;
    dib.Draw(&surface, 0, 0);
    dib.Draw(nullptr, 0, 0);
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF000000u);

    BmpSpec spec;
    spec.width = 2;
    spec.height = -2;
    spec.rows = {Bytes({1, 0, 0, 2, 0, 0}), Bytes({3, 0, 0, 4, 0, 0})};
    LoadBytes(dib, Make(spec));
    dib.Draw(&surface, 3, 3); // clipped to one pixel
    EXPECT_EQ(surface.GetPixel(3, 3), 0xFF000001u);
    dib.Draw(&surface, 0, 0, 1, 2, 1, 0); // the right column
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF000002u);
    EXPECT_EQ(surface.GetPixel(0, 1), 0xFF000004u);
    EXPECT_EQ(surface.GetPixel(1, 0), 0xFF000000u);
    dib.Draw(&surface, -1, -1); // only the bottom-right pixel lands
    EXPECT_EQ(surface.GetPixel(0, 0), 0xFF000004u);
}

TEST(SimpleDIB, LoadingAgainReplacesTheImage)
{
    BmpSpec big;
    big.width = 3;
    big.height = 3;
    big.rows.assign(3, std::string(9, '\0'));
    BmpSpec small;
    small.width = 1;
    small.height = 1;
    small.rows = {Bytes({9, 9, 9})};
    CSimpleDIB dib;
    LoadBytes(dib, Make(big));
    LoadBytes(dib, Make(small));
    EXPECT_EQ(dib.GetWidth(), 1);
    EXPECT_EQ(dib.GetHandle()->GetWidth(), 1);
    dib.Release();
    EXPECT_EQ(dib.GetHandle(), nullptr);
}

TEST(SimpleDIB, LoadsFilesAndReportsMissingOnes)
{
    TempDir temp;
    BmpSpec spec;
    spec.width = 1;
    spec.height = 1;
    spec.rows = {Bytes({7, 8, 9})};
    const std::string path = temp.Write("banner.bmp", Make(spec));
    CSimpleDIB dib;
    dib.LoadFromFile(path);
    EXPECT_EQ(Pixel(dib, 0, 0), 0xFF090807u);
    EXPECT_THROW(dib.LoadFromFile(temp.File("missing.bmp")), EFileOpenError);
}

} // namespace
} // namespace korvane::test
