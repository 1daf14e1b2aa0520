/** @file TextureTest.cpp The image decoders' blocks, limits and conversions and their refusal of damaged or lying
 * data; textures on the software renderer: decoded images drawn back, locking, filling, render-target copies,
 * uploads from other threads, and faults found after the textures were written. */
#include <sys/resource.h>

#include <array>
#include <atomic>
#include <thread>

#include <zlib.h>

#include "TestImageWriter.h"
#include "TextureDraw.h"
#include "os/Values.h"
#include "os/gfx/ImageDecoder.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/Surface.h"
#include "os/gfx/Texture.h"
#include "os/gfx/TextureRoutines.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::ConvertFromArgb;
using os::gfx::ConvertToArgb;
using os::gfx::DecodedImage;
using os::gfx::DecodeLimits;
using os::gfx::Format;
using os::gfx::kErrInvalidCall;
using os::gfx::kErrInvalidData;
using os::gfx::kOk;
using os::gfx::Pool;
using os::gfx::Result;
using os::gfx::Texture;
using ostest::V;
using Results = std::vector<os::gfx::Result>;

Result Decode(const std::string& bytes, DecodedImage* image, const DecodeLimits& limits = DecodeLimits())
{
    return os::gfx::DecodeImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), limits, image);
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

// Each kind of file's type, format, alpha and size, and its texels, are checked where the texture tests draw it.
TEST(ImageDecoderTest, DdsKeepsItsBlocksAndLevelsSizesAreBoundedAndDamagedAndLyingDataFailsCleanly)
{
    // DDS keeps compressed blocks and stored levels.
    const std::string red = SolidColourBlock(0xF800);
    // 8 x 8 DXT1 with its full chain: 4 blocks, then 1, 1, 1.
    const std::string bytes = WriteDds(8, 8, "DXT1", {red + red + red + red, red, red, red});
    DecodedImage image;
    ASSERT_EQ(kOk, Decode(bytes, &image)) << image.error;
    ASSERT_EQ(V(image.format, image.levels.size(), image.levels.at(0).size(), image.levels.at(3).size()),
              V(Format::DXT1, 4, 32, 8));
    std::uint32_t texels[64];
    os::gfx::DecompressBlocks(Format::DXT1, image.levels[0].data(), 8, 8, texels);
    EXPECT_EQ(std::vector<std::uint32_t>(texels, texels + 64), std::vector<std::uint32_t>(64, 0xFFFF0000u));

    // Sizes are bounded by the limits.
    const std::string png = WritePng(64, 64, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    DecodeLimits limits;
    limits.maxWidth = 63;
    EXPECT_EQ(kErrInvalidData, Decode(png, &image, limits));
    limits.maxWidth = 64;
    EXPECT_EQ(kOk, Decode(png, &image, limits));

    // Damaged and lying data fails cleanly.
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
// The decoder reads a BMP from the bytes it is given: the file size its header declares is not
// read, so a writer that leaves it 0 or gets it wrong does not lose the texture.
TEST(ImageDecoderTest, ABmpDecodesFromItsBytesWhateverFileSizeItsHeaderDeclares)
{
    const std::string bmp = WriteBmp(5, 3, 24, false, Opaque);
    DecodedImage expected;
    ASSERT_EQ(kOk, Decode(bmp, &expected)) << expected.error;
    const auto size = static_cast<std::uint32_t>(bmp.size());
    for (const std::uint32_t declared : {0u, size - 1, size + 1}) {
        SCOPED_TRACE(declared);
        DecodedImage image;
        EXPECT_EQ(kOk, Decode(Patch32(bmp, 2, declared), &image)) << image.error;
        EXPECT_EQ(std::tuple(image.width, image.height, image.levels),
                  std::tuple(expected.width, expected.height, expected.levels));
    }
}

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

/// A fill that writes the colour its data points to.
void FillWith(os::gfx::TexelColor* out, const os::gfx::TexelCoord*, const os::gfx::TexelCoord*, void* colour)
{
    *out = *static_cast<os::gfx::TexelColor*>(colour);
}

class TextureTest : public GfxTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(GfxTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(drawing.SetUp(*device, kWidth, kHeight));
    }

    void TearDown() override
    {
        drawing.Release();
        GfxTest::TearDown();
    }

    std::shared_ptr<Texture> Load(const std::string& bytes, os::gfx::ImageInfo* info = nullptr)
    {
        std::shared_ptr<Texture> texture;
        EXPECT_EQ(kOk, os::gfx::CreateTextureFromFileInMemoryEx(device.get(), bytes.data(), bytes.size(),
                                                                os::gfx::kDefault, os::gfx::kDefault, 1, 0,
                                                                Format::Unknown, Pool::Default, os::gfx::filter::None,
                                                                os::gfx::kDefault, 0, info, &texture));
        return texture;
    }

    /// Draws the texture's whole surface one texel per pixel over a grey back buffer.
    void DrawTexture(const std::shared_ptr<Texture>& texture)
    {
        os::gfx::SurfaceDesc desc;
        ASSERT_EQ((Results{texture->GetLevelDesc(0, &desc),
                           device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0),
                           device->SetTexture(0, texture), TextureDraw::Draw(*device, desc.Width, desc.Height)}),
                  Results(4, kOk));
    }

    /// Each channel of the pixel at (x, y) within `tolerance` of the expected colour's.
    void ExpectNear(std::uint32_t x, std::uint32_t y, std::uint32_t want, int tolerance)
    {
        const std::uint32_t got = Pixel(ReadBack(), x, y);
        for (int shift = 0; shift < 32; shift += 8)
            ASSERT_LE(std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)),
                      tolerance)
                << "pixel " << x << ", " << y << std::hex << " got " << got << " want " << want;
    }

    /// Makes `copy`, a render target of the back buffer's size, with `level` its surface and `backBuffer` the device's.
    void MakeCopyTarget()
    {
        ASSERT_EQ(kOk, device->CreateTexture(kWidth, kHeight, 1, os::gfx::usage::RenderTarget, Format::X8R8G8B8,
                                             Pool::Default, &copy));
        ASSERT_EQ(V(device->GetRenderTarget(0, &backBuffer), copy->GetSurfaceLevel(0, &level)), V(kOk, kOk));
    }

    TextureDraw drawing;
    std::shared_ptr<Texture> copy;
    std::shared_ptr<os::gfx::Surface> backBuffer, level;
    static constexpr os::gfx::TextureFilterType kNone = os::gfx::TextureFilterType::None;
};

TEST_F(TextureTest, DecodedFilesShowTheirTexelsInTheFormatsTheyMake)
{
    const auto solid = [](std::uint32_t c) { return PixelFunction([c](std::uint32_t, std::uint32_t) { return c; }); };
    const std::string block = SolidColourBlock(0xF800), dxt3 = std::string(8, '\x88') + SolidColourBlock(0x001F),
                      dxt5 = std::string("\x40\x20\0\0\0\0\0\0", 8) + SolidColourBlock(0x07E0);
    using enum Format;
    using enum os::gfx::ImageFileFormat;
    // Name and bytes, the image's width and height, its texels, and the file's format and type. Files without
    // alpha make X8R8G8B8 textures: alpha reads 1, the padding's too.
    const std::tuple<const char*, std::string, std::uint32_t, std::uint32_t, PixelFunction, Format,
                     os::gfx::ImageFileFormat>
        cases[] = {
            {"png palette", WritePng(5, 3, PNG_COLOR_TYPE_PALETTE, 8, Pattern), 5, 3, Pattern, A8R8G8B8, Png},
            {"png grey", WritePng(5, 3, PNG_COLOR_TYPE_GRAY, 8, Grey), 5, 3, Grey, L8, Png},
            {"png rgb", WritePng(5, 3, PNG_COLOR_TYPE_RGB, 8, Opaque), 5, 3, Opaque, X8R8G8B8, Png},
            {"png rgba", WritePng(5, 3, PNG_COLOR_TYPE_RGBA, 8, Pattern), 5, 3, Pattern, A8R8G8B8, Png},
            {"png rgba 16-bit", WritePng(5, 3, PNG_COLOR_TYPE_RGBA, 16, Pattern), 5, 3, Pattern, A8R8G8B8, Png},
            {"jpeg", WriteJpeg(16, 16, solid(0xFFC03020u)), 16, 16, solid(0xFFC03020u), X8R8G8B8, Jpg},
            {"bmp bottom-up", WriteBmp(5, 3, 24, false, Opaque), 5, 3, Opaque, R8G8B8, Bmp},
            {"bmp top-down", WriteBmp(5, 3, 32, true, Pattern), 5, 3, Pattern, A8R8G8B8, Bmp},
            {"dds plain", WriteDds(5, 3, "", {ArgbBytes(5, 3, Pattern)}), 5, 3, Pattern, A8R8G8B8, Dds},
            {"dds dxt1", WriteDds(4, 4, "DXT1", {block}), 4, 4, solid(0xFFFF0000u), DXT1, Dds},
            {"dds dxt3", WriteDds(4, 4, "DXT3", {dxt3}), 4, 4, solid(0x880000FFu), DXT3, Dds},
            {"dds dxt5", WriteDds(4, 4, "DXT5", {dxt5}), 4, 4, solid(0x4000FF00u), DXT5, Dds},
            // An edge inside the blocks: the texels a partial block holds past it are not shown.
            {"dds dxt1 cut inside its blocks", WriteDds(6, 6, "DXT1", {block + block + block + block}), 6, 6,
             solid(0xFFFF0000u), DXT1, Dds},
        };
    for (const auto& [name, bytes, w, h, expected, fileFormat, fileType] : cases) {
        SCOPED_TRACE(name);
        os::gfx::ImageInfo info;
        const auto texture = Load(bytes, &info);
        os::gfx::SurfaceDesc desc;
        ASSERT_TRUE(texture);
        ASSERT_EQ(kOk, texture->GetLevelDesc(0, &desc));
        const bool opaque = fileFormat == X8R8G8B8 || fileFormat == R8G8B8 || fileFormat == L8;
        // Files without alpha make X8R8G8B8 textures, files with it A8R8G8B8 ones; whole DXT blocks stay compressed.
        const Format made = fileType == Dds && w % 4 == 0 ? fileFormat : opaque ? X8R8G8B8 : A8R8G8B8;
        EXPECT_EQ(V(info.Width, info.Height, info.Format, info.ImageFileFormat, info.MipLevels, desc.Format),
                  V(w, h, fileFormat, fileType, 1, made));
        ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
        for (std::uint32_t y = 0; y < os::gfx::NextPowerOfTwo(h); ++y) {
            for (std::uint32_t x = 0; x < os::gfx::NextPowerOfTwo(w); ++x) {
                const std::uint32_t want = x < w && y < h ? expected(x, y) : 0;
                ASSERT_NO_FATAL_FAILURE(ExpectNear(x, y, opaque ? want | 0xFF000000u : want, fileType == Jpg ? 4 : 0));
            }
        }
    }
}

TEST_F(TextureTest, ADynamicTextureLocksOnceAtATimeAndShowsWhatWasWritten)
{
    std::shared_ptr<Texture> texture;
    ASSERT_EQ(kOk,
              device->CreateTexture(512, 512, 1, os::gfx::usage::Dynamic, Format::X8R8G8B8, Pool::Default, &texture));
    for (const std::uint32_t flags : {0u, os::gfx::lock::Discard}) {
        const std::uint32_t salt = flags != 0 ? 0x40 : 0x80;
        os::gfx::LockedRect locked;
        ASSERT_EQ(kOk, texture->LockRect(0, &locked, nullptr, flags));
        ASSERT_EQ(2048, locked.Pitch);
        EXPECT_EQ(kErrInvalidCall, texture->LockRect(0, &locked, nullptr, flags)); // locked already
        for (std::uint32_t i = 0; i < 512 * 512; ++i)
            static_cast<std::uint32_t*>(locked.Bits)[i] = ((i % 512 & 0xFF) << 16) | ((i / 512 & 0xFF) << 8) | salt;
        ASSERT_EQ(kOk, texture->UnlockRect(0));
        ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
        ExpectPixels({{0, 0, 0xFF000000u | salt}, {63, 0, 0xFF3F0000u | salt}, {5, 47, 0xFF052F00u | salt}});
    }
}

TEST_F(TextureTest, StaticTexturesRefuseLocksSystemOnesRefuseBindingAndImpossibleShapesAreRefused)
{
    std::shared_ptr<Texture> fixed, system;
    ASSERT_EQ(kOk, device->CreateTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::Default, &fixed));
    os::gfx::LockedRect locked;
    EXPECT_EQ(kErrInvalidCall, fixed->LockRect(0, &locked, nullptr, 0)); // default pool, not dynamic
    ASSERT_EQ(kOk, device->CreateTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::SystemMem, &system));
    const os::gfx::Rect part{4, 2, 8, 8};
    ASSERT_EQ(kOk, system->LockRect(0, &locked, &part, 0));
    EXPECT_EQ(32, locked.Pitch);
    ASSERT_EQ(kOk, system->UnlockRect(0));
    EXPECT_EQ(V(device->SetTexture(0, system),
                device->CreateTexture(0, 8, 1, 0, Format::A8R8G8B8, Pool::Default, &fixed),
                device->CreateTexture(8, 8, 5, 0, Format::A8R8G8B8, Pool::Default, &fixed)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
    EXPECT_FALSE(fixed);
}

TEST_F(TextureTest, FillingColoursEveryTexelOfEveryLevel)
{
    std::shared_ptr<Texture> filled;
    ASSERT_EQ(
        kOk, os::gfx::CreateTexture(device.get(), 8, 4, os::gfx::kDefault, 0, Format::Unknown, Pool::Managed, &filled));
    ASSERT_EQ(4u, filled->GetLevelCount());
    os::gfx::TexelColor blue{0.0f, 0.5f, 1.0f, 0.25f};
    ASSERT_EQ(kOk, os::gfx::FillTexture(filled.get(), FillWith, &blue));
    for (std::uint32_t level = 0; level < 4; ++level) {
        os::gfx::SurfaceDesc desc;
        os::gfx::LockedRect levelRect;
        ASSERT_EQ(V(filled->GetLevelDesc(level, &desc), filled->LockRect(level, &levelRect, nullptr, 0)), V(kOk, kOk));
        const auto* words = static_cast<const std::uint32_t*>(levelRect.Bits);
        EXPECT_EQ(std::vector<std::uint32_t>(words, words + desc.Width * desc.Height),
                  std::vector<std::uint32_t>(desc.Width * desc.Height, 0x400080FFu))
            << "level " << level;
        ASSERT_EQ(kOk, filled->UnlockRect(level));
    }
}

// A texture of each format filled with one colour samples as its texels convert back.
TEST_F(TextureTest, FormatConversionsRoundTripTheirBitsAndEachFormatSamplesAsItsTexelsConvert)
{
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
    os::gfx::TexelColor green{0.0f, 1.0f, 0.0f, 128.0f / 255.0f}; // the second colour above
    std::shared_ptr<Texture> filled;
    for (const auto& [format, expected] : conversions) {
        SCOPED_TRACE(static_cast<int>(format));
        std::uint8_t texels[16] = {};
        ConvertFromArgb(argb, 4, format, texels);
        std::array<std::uint32_t, 4> back{};
        ConvertToArgb(texels, 4, format, back.data());
        EXPECT_EQ(back, expected);
        ASSERT_EQ(kOk, device->CreateTexture(4, 4, 1, 0, format, Pool::Managed, &filled));
        ASSERT_EQ(kOk, os::gfx::FillTexture(filled.get(), FillWith, &green));
        ASSERT_NO_FATAL_FAILURE(DrawTexture(filled));
        ExpectNear(2, 2, expected[1], 1);
    }
}

// A whole copy of the back buffer is drawn back by the engine's texture tests.
TEST_F(TextureTest, ARenderTargetCopyOfAPartLandsInItsRectangleRowsFromTheTop)
{
    const os::gfx::ClearRect top{0, 0, static_cast<std::int32_t>(kWidth), 10};
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF0000FFu, 1.0f, 0));
    ASSERT_EQ(kOk, device->Clear(1, &top, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0));
    ASSERT_NO_FATAL_FAILURE(MakeCopyTarget());
    ASSERT_EQ(kOk, device->StretchRect(backBuffer.get(), nullptr, level.get(), nullptr, kNone));
    const os::gfx::Rect source{10, 20, 14, 24}, dest{0, 0, 4, 4};
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    ASSERT_EQ(kOk, device->StretchRect(backBuffer.get(), &source, level.get(), &dest, kNone));
    ASSERT_NO_FATAL_FAILURE(DrawTexture(copy));
    ExpectPixels({{0, 0, 0xFF00FF00u}, {3, 3, 0xFF00FF00u}, {4, 0, 0xFFFF0000u}, {0, 30, 0xFF0000FFu}});
}

TEST_F(TextureTest, OnlyTheFirstRenderTargetExists)
{
    std::shared_ptr<os::gfx::Surface> none;
    EXPECT_EQ(kErrInvalidCall, device->GetRenderTarget(1, &none));
    EXPECT_FALSE(none);
}

TEST_F(TextureTest, CopiesFromNothingIntoPlainTexturesOrFromOutsideTheSourceAreRefused)
{
    ASSERT_NO_FATAL_FAILURE(MakeCopyTarget());
    std::shared_ptr<Texture> plain;
    std::shared_ptr<os::gfx::Surface> plainLevel;
    const os::gfx::Rect outside{0, 0, static_cast<std::int32_t>(kWidth) + 1, 4};
    ASSERT_EQ(kOk, device->CreateTexture(kWidth, kHeight, 1, 0, Format::X8R8G8B8, Pool::Default, &plain));
    ASSERT_EQ(kOk, plain->GetSurfaceLevel(0, &plainLevel));
    EXPECT_EQ(V(device->StretchRect(nullptr, nullptr, level.get(), nullptr, kNone),
                device->StretchRect(backBuffer.get(), nullptr, plainLevel.get(), nullptr, kNone),
                device->StretchRect(backBuffer.get(), &outside, level.get(), nullptr, kNone)),
              V(kErrInvalidCall, kErrInvalidCall, kErrInvalidCall));
}

TEST_F(TextureTest, ATextureMadeOnAnotherThreadUploadsAtTheDevicesNextCall)
{
    const std::string png = WritePng(4, 4, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    std::shared_ptr<Texture> uploaded;
    std::thread([&] { uploaded = Load(png); }).join();
    ASSERT_TRUE(uploaded);
    EXPECT_FALSE(uploaded->IsUploaded());
    ASSERT_EQ(kOk, device->Present());
    EXPECT_TRUE(uploaded->IsUploaded());
    ASSERT_NO_FATAL_FAILURE(DrawTexture(uploaded));
    ExpectPixels({{1, 2, Pattern(1, 2)}, {3, 3, Pattern(3, 3)}});
}

// Uploads the device makes meanwhile (a bind, a draw) neither read its texels while they are written nor count the
// level as uploaded, so what the unlock hands over is what is drawn.
TEST_F(TextureTest, ALevelLockedOnAnotherThreadIsThatThreadsUntilItUnlocksIt)
{
    std::shared_ptr<Texture> lockedTexture;
    ASSERT_EQ(kOk, device->CreateTexture(4, 4, 1, 0, Format::A8R8G8B8, Pool::Managed, &lockedTexture));
    os::gfx::LockedRect held;
    std::thread([&] { ASSERT_EQ(kOk, lockedTexture->LockRect(0, &held, nullptr, 0)); }).join();
    ASSERT_NE(nullptr, held.Bits);

    // The writer fills the level while this thread keeps binding the texture.
    std::atomic<bool> started{false}, written{false};
    std::thread writer([&] {
        started = true;
        for (std::uint32_t i = 0; i < 16; ++i) {
            static_cast<std::uint32_t*>(held.Bits)[i / 4 * static_cast<std::uint32_t>(held.Pitch) / 4 + i % 4] =
                Opaque(i % 4, i / 4);
        }
        written = true;
    });
    while (!started)
        std::this_thread::yield();
    for (int i = 0; i < 50 || !written; ++i)
        ASSERT_EQ(kOk, device->SetTexture(0, lockedTexture));
    writer.join();
    EXPECT_FALSE(lockedTexture->IsUploaded());

    std::thread([&] { ASSERT_EQ(kOk, lockedTexture->UnlockRect(0)); }).join();
    ASSERT_NO_FATAL_FAILURE(DrawTexture(lockedTexture));
    EXPECT_TRUE(lockedTexture->IsUploaded());
    ExpectPixels({{0, 0, Opaque(0, 0)}, {3, 1, Opaque(3, 1)}, {2, 3, Opaque(2, 3)}});
}

TEST_F(TextureTest, TexturesReleaseOnAnotherThreadWhileAnotherIsBoundAndAfterTheDeviceIsGone)
{
    const std::string png = WritePng(4, 4, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    std::shared_ptr<Texture> uploaded;
    std::thread([&] { uploaded = Load(png); }).join();
    ASSERT_TRUE(uploaded);
    ASSERT_EQ(kOk, device->Present());
    ASSERT_NO_FATAL_FAILURE(DrawTexture(uploaded));

    ASSERT_EQ(kOk, device->SetTexture(0, nullptr));
    std::thread([moved = Load(png)]() mutable { moved.reset(); }).join();
    ASSERT_EQ(kOk, device->Present());
    drawing.Release();
    shaders = ColorShaders();
    device.reset();
    uploaded.reset();
}

} // namespace
} // namespace gfxtest
