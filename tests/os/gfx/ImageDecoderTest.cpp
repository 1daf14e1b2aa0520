/** @file ImageDecoderTest.cpp The image decoders: texels of every kind of file, and refusal of damaged or lying data. */
#include <cstring>

#include <gtest/gtest.h>
#include <zlib.h>

#include "TestImageWriter.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"

namespace
{

using namespace os::gfx;
using namespace gfxtest;

Result Decode(const std::string& bytes, DecodedImage* image, const DecodeLimits& limits = DecodeLimits())
{
    return DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), limits, image);
}

// The texels themselves are compared where the texture tests draw the same files.
TEST(ImageDecoderTest, EveryKindOfFileReportsItsTypeFormatAlphaAndSize)
{
    const struct
    {
        const char* name;
        std::string bytes;
        ImageFileFormat type;
        Format fileFormat;
        bool alpha;
    } cases[] = {
        {"png rgba 16-bit", WritePng(5, 3, PNG_COLOR_TYPE_RGBA, 16, Pattern), ImageFileFormat::Png, Format::A8R8G8B8,
         true},
        {"png rgb", WritePng(5, 3, PNG_COLOR_TYPE_RGB, 8, Opaque), ImageFileFormat::Png, Format::X8R8G8B8, false},
        {"png grey", WritePng(5, 3, PNG_COLOR_TYPE_GRAY, 8, Grey), ImageFileFormat::Png, Format::L8, false},
        {"png palette", WritePng(5, 3, PNG_COLOR_TYPE_PALETTE, 8, FourColours), ImageFileFormat::Png, Format::A8R8G8B8,
         true},
        {"jpeg", WriteJpeg(5, 3, Flat), ImageFileFormat::Jpg, Format::X8R8G8B8, false},
        {"bmp 24", WriteBmp(5, 3, 24, false, Opaque), ImageFileFormat::Bmp, Format::R8G8B8, false},
        {"bmp 32 with alpha", WriteBmp(5, 3, 32, true, Pattern), ImageFileFormat::Bmp, Format::A8R8G8B8, true},
        {"dds a8r8g8b8", WriteDds(5, 3, "", {ArgbBytes(5, 3, Pattern)}), ImageFileFormat::Dds, Format::A8R8G8B8, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedImage image;
        ASSERT_EQ(kOk, Decode(c.bytes, &image)) << image.error;
        EXPECT_EQ(c.type, image.fileType);
        EXPECT_EQ(c.fileFormat, image.fileFormat);
        EXPECT_EQ(c.alpha, image.hasAlpha);
        EXPECT_EQ(5u, image.width);
        EXPECT_EQ(3u, image.height);
        ASSERT_EQ(1u, image.levels.size());
        EXPECT_EQ(5u * 3u * 4u, image.levels[0].size());
    }
}

TEST(ImageDecoderTest, DdsKeepsCompressedBlocksAndStoredLevels)
{
    const std::string red = gfxtest::SolidColourBlock(0xF800);
    // 8 x 8 DXT1 with its full chain: 4 blocks, then 1, 1, 1.
    const std::string bytes = gfxtest::WriteDds(8, 8, "DXT1", {red + red + red + red, red, red, red});
    DecodedImage image;
    ASSERT_EQ(kOk, Decode(bytes, &image)) << image.error;
    EXPECT_EQ(Format::DXT1, image.format);
    ASSERT_EQ(4u, image.levels.size());
    EXPECT_EQ(32u, image.levels[0].size());
    EXPECT_EQ(8u, image.levels[3].size());
    std::uint32_t texels[64];
    DecompressBlocks(Format::DXT1, image.levels[0].data(), 8, 8, texels);
    EXPECT_EQ(0xFFFF0000u, texels[0]);
    EXPECT_EQ(0xFFFF0000u, texels[63]);
}

std::string WithPngSize(std::string png, std::uint32_t width, std::uint32_t height)
{
    auto put = [&png](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            png[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
        }
    };
    put(16, width);
    put(20, height);
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17)); // chunk type and IHDR fields
    put(29, crc);
    return png;
}

std::string Patch32(std::string bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    return bytes;
}

std::string PatchJpegSize(std::string jpeg, std::uint16_t width, std::uint16_t height)
{
    const std::size_t sof = jpeg.find("\xFF\xC0");
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

TEST(ImageDecoderTest, DamagedAndLyingDataFailsCleanly)
{
    const std::string png = gfxtest::WritePng(64, 64, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    const std::string jpeg = gfxtest::WriteJpeg(64, 64, Opaque);
    const std::string bmp = gfxtest::WriteBmp(64, 64, 24, false, Opaque);
    const std::string dxt = gfxtest::WriteDds(8, 8, "DXT5", {std::string(64, '\x11')});
    const std::string dds = gfxtest::WriteDds(4, 4, "", {gfxtest::ArgbBytes(4, 4, Pattern)});
    const std::pair<const char*, std::string> cases[] = {
        {"png cut in its header", png.substr(0, 20)},
        {"png cut in its data", png.substr(0, png.size() / 2)},
        {"png claiming 8192 x 8192", WithPngSize(png, 8192, 8192)},
        {"png claiming 0 wide", WithPngSize(png, 0, 64)},
        {"png wider than the limit", WithPngSize(png, 9000, 1)},
        {"jpeg cut in its header", jpeg.substr(0, 30)},
        {"jpeg cut in its data", jpeg.substr(0, jpeg.size() / 2)},
        {"jpeg claiming 65535 x 65535", PatchJpegSize(jpeg, 65535, 65535)},
        {"jpeg claiming 0 high", PatchJpegSize(jpeg, 64, 0)},
        {"bmp cut in its pixels", bmp.substr(0, bmp.size() - 1)},
        {"bmp claiming 8000 high", Patch32(bmp, 22, 8000)},
        {"bmp claiming the most negative height", Patch32(bmp, 22, 0x80000000u)},
        {"bmp with its pixels past the end", Patch32(bmp, 10, 0xFFFFFFF0u)},
        {"bmp with an unknown header size", Patch32(bmp, 14, 64)},
        {"bmp with run-length compression", Patch32(bmp, 30, 1)},
        {"dds cut in its blocks", dxt.substr(0, dxt.size() - 1)},
        {"dds claiming 8192 x 8192", Patch32(Patch32(dxt, 12, 8192), 16, 8192)},
        {"dds claiming 40 levels", Patch32(Patch32(dds, 8, 0x21007), 28, 40)},
        {"dds with an unknown four-character code", Patch32(dxt, 84, 0x30303030)},
        {"dds header cut short", dds.substr(0, 100)},
        {"nothing", std::string()},
        {"no known signature", std::string("GIF89a")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        DecodedImage image;
        EXPECT_EQ(kErrInvalidData, Decode(bytes, &image));
        EXPECT_FALSE(image.error.empty());
        EXPECT_TRUE(image.levels.empty());
    }
}

TEST(ImageDecoderTest, SizesAreBoundedByTheLimits)
{
    const std::string png = gfxtest::WritePng(40, 20, PNG_COLOR_TYPE_RGB, 8, Opaque);
    DecodeLimits limits;
    limits.maxWidth = 32;
    DecodedImage image;
    EXPECT_EQ(kErrInvalidData, Decode(png, &image, limits));
    limits.maxWidth = 40;
    EXPECT_EQ(kOk, Decode(png, &image, limits));
}

TEST(ImageDecoderTest, FormatConversionsRoundTripTheirBits)
{
    const std::uint32_t argb[] = {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFFFFFFFFu};
    const struct
    {
        Format format;
        std::uint32_t expected[4];
    } cases[] = {
        {Format::A8R8G8B8, {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::X8R8G8B8, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::R5G6B5, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::X1R5G5B5, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::A1R5G5B5, {0xFFFF0000u, 0xFF00FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::A4R4G4B4, {0xFFFF0000u, 0x8800FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::L8, {0xFF4D4D4Du, 0xFF959595u, 0xFF1D1D1Du, 0xFFFFFFFFu}},
        {Format::A8, {0xFF000000u, 0x80000000u, 0x00000000u, 0xFF000000u}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        std::uint8_t texels[16] = {};
        ConvertFromArgb(argb, 4, c.format, texels);
        std::uint32_t back[4] = {};
        ConvertToArgb(texels, 4, c.format, back);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(c.expected[i], back[i]) << i;
        }
    }
    EXPECT_EQ(512u, NextPowerOfTwo(300));
    EXPECT_EQ(256u, NextPowerOfTwo(256));
    EXPECT_EQ(10u, FullChainLevels(512, 256));
    EXPECT_EQ(2048u, RowPitch(Format::X8R8G8B8, 512));
    EXPECT_EQ(16u, RowPitch(Format::DXT1, 5)); // two blocks of 8 bytes
}

} // namespace

namespace
{

/// Every prefix of each file, and each file with one byte changed here and there, either decodes
/// or fails with the invalid-data code: never a crash or a read out of bounds (the sanitizer
/// build checks the latter).
TEST(ImageDecoderTest, EveryPrefixAndDamagedByteDecodesOrFailsCleanly)
{
    const std::string files[] = {
        gfxtest::WritePng(16, 9, PNG_COLOR_TYPE_RGBA, 8, Pattern),
        gfxtest::WritePng(16, 9, PNG_COLOR_TYPE_PALETTE, 8, FourColours),
        gfxtest::WriteJpeg(16, 9, Opaque),
        gfxtest::WriteBmp(7, 5, 24, false, Opaque),
        gfxtest::WriteBmp(7, 5, 32, true, Pattern),
        gfxtest::WriteDds(
            8, 8, "DXT5",
            {std::string(64, '\x5A'), std::string(16, '\x33'), std::string(16, '\x44'), std::string(16, '\x55')}),
        gfxtest::WriteDds(5, 3, "", {gfxtest::ArgbBytes(5, 3, Pattern)}),
    };
    for (const std::string& file : files) {
        for (std::size_t length = 0; length <= file.size(); ++length) {
            DecodedImage image;
            const Result result = Decode(file.substr(0, length), &image);
            ASSERT_TRUE(result == kOk || result == kErrInvalidData) << length;
        }
        for (std::size_t at = 0; at < file.size(); at += 3) {
            for (const int change : {0x01, 0x80, 0xFF}) {
                std::string damaged = file;
                damaged[at] = static_cast<char>(damaged[at] ^ change);
                DecodedImage image;
                const Result result = Decode(damaged, &image);
                ASSERT_TRUE(result == kOk || result == kErrInvalidData) << at;
                if (result == kOk) {
                    ASSERT_FALSE(image.levels.empty());
                    ASSERT_GE(image.levels[0].size(), static_cast<std::size_t>(image.width) * image.height);
                }
            }
        }
    }
}

} // namespace
