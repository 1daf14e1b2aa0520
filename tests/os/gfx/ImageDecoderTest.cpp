/** @file ImageDecoderTest.cpp The image decoders: texels of every kind of file, and refusal of damaged or lying data. */
#include <sys/resource.h>

#include <array>
#include <cstring>

#include <gtest/gtest.h>
#include <zlib.h>

#include "TestImageWriter.h"
#include "os/Values.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/ResultCodes.h"

namespace
{

using namespace os::gfx;
using namespace gfxtest;
using ostest::V;

Result Decode(const std::string& bytes, DecodedImage* image, const DecodeLimits& limits = DecodeLimits())
{
    return DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), limits, image);
}

// Each kind of file's type, format, alpha and size, and its texels, are checked where the texture tests draw it.
TEST(ImageDecoderTest, DdsKeepsItsBlocksAndLevelsSizesAreBoundedAndFormatsConvert)
{
    // DDS keeps compressed blocks and stored levels.
    const std::string red = SolidColourBlock(0xF800);
    // 8 x 8 DXT1 with its full chain: 4 blocks, then 1, 1, 1.
    const std::string bytes = WriteDds(8, 8, "DXT1", {red + red + red + red, red, red, red});
    DecodedImage image;
    ASSERT_EQ(kOk, Decode(bytes, &image)) << image.error;
    ASSERT_EQ(V(image.format, image.levels.size()), V(Format::DXT1, 4));
    EXPECT_EQ(V(image.levels[0].size(), image.levels[3].size()), V(32, 8));
    std::uint32_t texels[64];
    DecompressBlocks(Format::DXT1, image.levels[0].data(), 8, 8, texels);
    EXPECT_EQ(std::vector<std::uint32_t>(texels, texels + 64), std::vector<std::uint32_t>(64, 0xFFFF0000u));

    // Sizes are bounded by the limits.
    const std::string png = WritePng(40, 20, PNG_COLOR_TYPE_RGB, 8, Opaque);
    DecodeLimits limits;
    limits.maxWidth = 32;
    EXPECT_EQ(kErrInvalidData, Decode(png, &image, limits));
    limits.maxWidth = 40;
    EXPECT_EQ(kOk, Decode(png, &image, limits));

    // Format conversions round-trip their bits.
    const std::uint32_t argb[] = {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFFFFFFFFu};
    const std::pair<Format, std::array<std::uint32_t, 4>> conversions[] = {
        {Format::A8R8G8B8, {0xFFFF0000u, 0x8000FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::X8R8G8B8, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::R5G6B5, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::X1R5G5B5, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}},
        {Format::A1R5G5B5, {0xFFFF0000u, 0xFF00FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::A4R4G4B4, {0xFFFF0000u, 0x8800FF00u, 0x000000FFu, 0xFFFFFFFFu}},
        {Format::L8, {0xFF4D4D4Du, 0xFF959595u, 0xFF1D1D1Du, 0xFFFFFFFFu}},
        {Format::A8, {0xFF000000u, 0x80000000u, 0x00000000u, 0xFF000000u}}};
    for (const auto& [format, expected] : conversions) {
        SCOPED_TRACE(static_cast<int>(format));
        std::uint8_t texels[16] = {};
        ConvertFromArgb(argb, 4, format, texels);
        std::array<std::uint32_t, 4> back{};
        ConvertToArgb(texels, 4, format, back.data());
        EXPECT_EQ(back, expected);
    }
    // RowPitch of DXT1: two blocks of 8 bytes.
    EXPECT_EQ(V(NextPowerOfTwo(300), NextPowerOfTwo(256), FullChainLevels(512, 256), RowPitch(Format::X8R8G8B8, 512),
                RowPitch(Format::DXT1, 5)),
              V(512, 256, 10, 2048, 16));
}

std::string BigEndian(std::uint32_t v)
{
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
}

std::string WithPngSize(std::string png, std::uint32_t width, std::uint32_t height)
{
    png.replace(16, 8, BigEndian(width) + BigEndian(height));
    // The CRC covers the chunk type and the header's fields.
    return png.replace(
        29, 4, BigEndian(static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17))));
}

std::string Patch32(std::string bytes, std::size_t at, std::uint32_t value)
{
    return bytes.replace(at, 4, LE(value));
}

std::string PatchJpegSize(std::string jpeg, std::uint16_t width, std::uint16_t height)
{
    const char size[] = {static_cast<char>(height >> 8), static_cast<char>(height), static_cast<char>(width >> 8),
                         static_cast<char>(width)};
    return jpeg.replace(jpeg.find("\xFF\xC0") + 5, 4, size, 4);
}

TEST(ImageDecoderTest, DamagedAndLyingDataFailsCleanly)
{
    const std::string png = WritePng(64, 64, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    const std::string jpeg = WriteJpeg(64, 64, Opaque);
    const std::string bmp = WriteBmp(64, 64, 24, false, Opaque);
    const std::string dxt = WriteDds(8, 8, "DXT5", {std::string(64, '\x11')});
    const std::string dds = WriteDds(4, 4, "", {ArgbBytes(4, 4, Pattern)});
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
        {"no known signature", std::string("GIF89a")}};
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        DecodedImage image;
        const Result result = Decode(bytes, &image);
        EXPECT_EQ(V(result, image.error.empty(), image.levels.empty()), V(kErrInvalidData, false, true));
    }
}

// A text chunk claiming 512 MiB, of which ten bytes follow: libpng would allocate and clear
// the whole claim before finding the data missing.
TEST(ImageFuzzRegressionTest, ChunkLongerThanTheDataIsRefusedBeforeAnyAllocation)
{
    const std::string png = WritePng(4, 4, PNG_COLOR_TYPE_GRAY, 8, Grey);
    const std::size_t afterHeader = 8 + 8 + 13 + 4;
    const std::string lying =
        png.substr(0, afterHeader) + BigEndian(0x20000000u) + "tEXt" + std::string("Comment\0de", 10);
    const auto peakKilobytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    const long before = peakKilobytes();
    DecodedImage image;
    const Result result = Decode(lying, &image);
    EXPECT_EQ(V(result, image.error.empty(), peakKilobytes() - before < 64L * 1024), V(kErrInvalidData, false, true));

    // Bytes after the end chunk are no chunks: the image still decodes.
    EXPECT_EQ(kOk, Decode(png + BigEndian(0x7FFFFFFFu) + "tEXt", &image)) << image.error;
    EXPECT_EQ(4u, image.width);
}

} // namespace
