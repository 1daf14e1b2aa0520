/** @file TextureTest.cpp Textures on the software renderer: decoded images drawn back, the size rule, locking,
 * filling, render-target copies and uploads from other threads. */
#include <thread>

#include "TestImageWriter.h"
#include "TextureDraw.h"
#include "os/gfx/PixelFormat.h"
#include "os/gfx/Surface.h"
#include "os/gfx/Texture.h"
#include "os/gfx/TextureRoutines.h"
#include "support/GfxFixture.h"

namespace gfxtest
{
namespace
{

using os::gfx::Format;
using os::gfx::kErrInvalidCall;
using os::gfx::kOk;
using os::gfx::Pool;
using os::gfx::Texture;

class TextureTest : public GfxTest
{
protected:
    void SetUp() override
    {
        GfxTest::SetUp();
        draw.SetUp(*device, kWidth, kHeight);
    }
    void TearDown() override
    {
        draw.Release();
        GfxTest::TearDown();
    }

    std::shared_ptr<Texture> Load(const std::string& bytes, std::uint32_t mipLevels = 1, Pool pool = Pool::Default,
                                  os::gfx::ImageInfo* info = nullptr)
    {
        std::shared_ptr<Texture> texture;
        EXPECT_EQ(kOk, os::gfx::CreateTextureFromFileInMemoryEx(
                           device.get(), bytes.data(), bytes.size(), os::gfx::kDefault, os::gfx::kDefault, mipLevels, 0,
                           Format::Unknown, pool, os::gfx::filter::None, os::gfx::kDefault, 0, info, &texture));
        return texture;
    }

    /// Draws the texture's surface one texel per pixel over a grey back buffer.
    void DrawTexture(const std::shared_ptr<Texture>& texture)
    {
        os::gfx::SurfaceDesc desc;
        ASSERT_EQ(kOk, texture->GetLevelDesc(0, &desc));
        ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF202020u, 1.0f, 0));
        ASSERT_EQ(kOk, device->SetTexture(0, texture));
        ASSERT_EQ(kOk, TextureDraw::Draw(*device, desc.Width, desc.Height));
    }

    TextureDraw draw;
};

std::string Block(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes) {
        out.push_back(static_cast<char>(b));
    }
    return out;
}

struct DrawCase
{
    const char* name;
    std::string bytes;
    std::uint32_t width, height; ///< the image's
    PixelFunction expected;
    bool opaqueFormat; ///< X8R8G8B8: alpha reads 1, the padding too
    int tolerance;
};

TEST_F(TextureTest, DecodedImagesDrawTheirTexelsWithAlphaAndTransparentPadding)
{
    const std::string dxt3 = Block({0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}) + SolidColourBlock(0x001F);
    const std::string dxt5 = Block({0x40, 0x20, 0, 0, 0, 0, 0, 0}) + SolidColourBlock(0x07E0);
    const DrawCase cases[] = {
        {"png palette", WritePng(5, 3, PNG_COLOR_TYPE_PALETTE, 8, FourColours), 5, 3, FourColours, false, 0},
        {"png grey", WritePng(5, 3, PNG_COLOR_TYPE_GRAY, 8, Grey), 5, 3, Grey, true, 0},
        {"png rgb", WritePng(5, 3, PNG_COLOR_TYPE_RGB, 8, Opaque), 5, 3, Opaque, true, 0},
        {"png rgba", WritePng(5, 3, PNG_COLOR_TYPE_RGBA, 8, Pattern), 5, 3, Pattern, false, 0},
        {"png rgba 16-bit", WritePng(5, 3, PNG_COLOR_TYPE_RGBA, 16, Pattern), 5, 3, Pattern, false, 0},
        {"jpeg", WriteJpeg(16, 16, Flat), 16, 16, Flat, true, 4},
        {"bmp bottom-up", WriteBmp(5, 3, 24, false, Opaque), 5, 3, Opaque, true, 0},
        {"bmp top-down", WriteBmp(5, 3, 32, true, Pattern), 5, 3, Pattern, false, 0},
        {"dds plain", WriteDds(5, 3, "", {ArgbBytes(5, 3, Pattern)}), 5, 3, Pattern, false, 0},
        {"dds dxt1", WriteDds(4, 4, "DXT1", {SolidColourBlock(0xF800)}), 4, 4,
         [](std::uint32_t, std::uint32_t) { return 0xFFFF0000u; }, false, 0},
        {"dds dxt3", WriteDds(4, 4, "DXT3", {dxt3}), 4, 4, [](std::uint32_t, std::uint32_t) { return 0x880000FFu; },
         false, 0},
        {"dds dxt5", WriteDds(4, 4, "DXT5", {dxt5}), 4, 4, [](std::uint32_t, std::uint32_t) { return 0x4000FF00u; },
         false, 0},
    };
    for (const DrawCase& c : cases) {
        SCOPED_TRACE(c.name);
        os::gfx::ImageInfo info;
        const auto texture = Load(c.bytes, 1, Pool::Default, &info);
        ASSERT_TRUE(texture);
        EXPECT_EQ(c.width, info.Width);
        EXPECT_EQ(c.height, info.Height);
        ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
        const auto pixels = ReadBack();
        const std::uint32_t surfaceWidth = os::gfx::NextPowerOfTwo(c.width);
        const std::uint32_t surfaceHeight = os::gfx::NextPowerOfTwo(c.height);
        for (std::uint32_t y = 0; y < surfaceHeight; ++y) {
            for (std::uint32_t x = 0; x < surfaceWidth; ++x) {
                const bool inImage = x < c.width && y < c.height;
                std::uint32_t want = inImage ? c.expected(x, y) : 0;
                if (c.opaqueFormat) {
                    want |= 0xFF000000u;
                }
                const std::uint32_t got = Pixel(pixels, x, y);
                for (int shift = 0; shift < 32; shift += 8) {
                    const int g = static_cast<int>((got >> shift) & 0xFF);
                    const int w = static_cast<int>((want >> shift) & 0xFF);
                    ASSERT_LE(std::abs(g - w), c.tolerance)
                        << "pixel " << x << ", " << y << std::hex << " got " << got << " want " << want;
                }
            }
        }
    }
}

TEST_F(TextureTest, ImagesGrowToPowersOfTwoWithTheImageAtTheTopLeft)
{
    const std::string png = WritePng(300, 200, PNG_COLOR_TYPE_RGB, 8, Opaque);
    os::gfx::ImageInfo info;
    const auto one = Load(png, 1, Pool::Managed, &info);
    ASSERT_TRUE(one);
    EXPECT_EQ(300u, info.Width);
    EXPECT_EQ(200u, info.Height);
    EXPECT_EQ(1u, info.MipLevels);
    EXPECT_EQ(os::gfx::ImageFileFormat::Png, info.ImageFileFormat);
    EXPECT_EQ(1u, one->GetLevelCount());
    os::gfx::SurfaceDesc desc;
    ASSERT_EQ(kOk, one->GetLevelDesc(0, &desc));
    EXPECT_EQ(512u, desc.Width);
    EXPECT_EQ(256u, desc.Height);
    EXPECT_EQ(Format::X8R8G8B8, desc.Format);
    EXPECT_EQ(Pool::Managed, desc.Pool);

    os::gfx::LockedRect locked;
    ASSERT_EQ(kOk, one->LockRect(0, &locked, nullptr, os::gfx::lock::ReadOnly));
    EXPECT_EQ(2048, locked.Pitch);
    const auto texel = [&](std::uint32_t x, std::uint32_t y) {
        std::uint32_t word;
        std::memcpy(&word, static_cast<const std::uint8_t*>(locked.Bits) + y * 2048u + x * 4u, 4);
        return word & 0x00FFFFFFu;
    };
    EXPECT_EQ(Opaque(299, 199) & 0x00FFFFFFu, texel(299, 199));
    EXPECT_EQ(0u, texel(300, 0));
    EXPECT_EQ(0u, texel(0, 200));
    EXPECT_EQ(0u, texel(511, 255));
    ASSERT_EQ(kOk, one->UnlockRect(0));

    const auto chain = Load(png, os::gfx::kDefault);
    ASSERT_TRUE(chain);
    EXPECT_EQ(10u, chain->GetLevelCount());
    ASSERT_EQ(kOk, chain->GetLevelDesc(9, &desc));
    EXPECT_EQ(1u, desc.Width);
    EXPECT_EQ(1u, desc.Height);
}

TEST_F(TextureTest, LockedDynamicTextureShowsWhatWasWrittenWithAlphaReadingOne)
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
        for (std::uint32_t y = 0; y < 512; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(locked.Bits) + y * 2048u);
            for (std::uint32_t x = 0; x < 512; ++x) {
                row[x] = ((x & 0xFF) << 16) | ((y & 0xFF) << 8) | salt; // alpha 0
            }
        }
        ASSERT_EQ(kOk, texture->UnlockRect(0));
        ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
        ExpectPixels({{0, 0, 0xFF000000u | salt}, {63, 0, 0xFF3F0000u | salt}, {5, 47, 0xFF052F00u | salt}});
    }

    std::shared_ptr<Texture> fixed;
    ASSERT_EQ(kOk, device->CreateTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::Default, &fixed));
    os::gfx::LockedRect locked;
    EXPECT_EQ(kErrInvalidCall, fixed->LockRect(0, &locked, nullptr, 0)); // default pool, not dynamic
    std::shared_ptr<Texture> system;
    ASSERT_EQ(kOk, device->CreateTexture(8, 8, 1, 0, Format::A8R8G8B8, Pool::SystemMem, &system));
    const os::gfx::Rect part{4, 2, 8, 8};
    ASSERT_EQ(kOk, system->LockRect(0, &locked, &part, 0));
    EXPECT_EQ(32, locked.Pitch);
    ASSERT_EQ(kOk, system->UnlockRect(0));
    EXPECT_EQ(kErrInvalidCall, device->SetTexture(0, system));
    EXPECT_EQ(kErrInvalidCall, device->CreateTexture(0, 8, 1, 0, Format::A8R8G8B8, Pool::Default, &system));
    EXPECT_EQ(kErrInvalidCall, device->CreateTexture(8, 8, 5, 0, Format::A8R8G8B8, Pool::Default, &system));
    EXPECT_FALSE(system);
}

TEST_F(TextureTest, FillColoursEveryTexelOfEveryLevel)
{
    std::shared_ptr<Texture> texture;
    ASSERT_EQ(kOk, os::gfx::CreateTexture(device.get(), 8, 4, os::gfx::kDefault, 0, Format::Unknown, Pool::Managed,
                                          &texture));
    ASSERT_EQ(4u, texture->GetLevelCount());
    const auto fill = [](os::gfx::TexelColor* out, const os::gfx::TexelCoord*, const os::gfx::TexelCoord*, void*) {
        *out = os::gfx::TexelColor{0.0f, 0.5f, 1.0f, 0.25f};
    };
    ASSERT_EQ(kOk, os::gfx::FillTexture(texture.get(), fill, nullptr));
    for (std::uint32_t level = 0; level < 4; ++level) {
        os::gfx::SurfaceDesc desc;
        ASSERT_EQ(kOk, texture->GetLevelDesc(level, &desc));
        os::gfx::LockedRect locked;
        ASSERT_EQ(kOk, texture->LockRect(level, &locked, nullptr, 0));
        for (std::uint32_t i = 0; i < desc.Width * desc.Height; ++i) {
            std::uint32_t word;
            std::memcpy(&word, static_cast<const std::uint8_t*>(locked.Bits) + i * 4, 4);
            ASSERT_EQ(0x400080FFu, word) << "level " << level << " texel " << i;
        }
        ASSERT_EQ(kOk, texture->UnlockRect(level));
    }
    ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
    ExpectPixels({{0, 0, 0x400080FFu}, {7, 3, 0x400080FFu}});
}

TEST_F(TextureTest, EveryTextureFormatSamplesAsItsTexelsConvert)
{
    const std::uint32_t colour = 0xFFFF8000u; // what the fill below writes
    const auto fill = [](os::gfx::TexelColor* out, const os::gfx::TexelCoord*, const os::gfx::TexelCoord*, void*) {
        *out = os::gfx::TexelColor{1.0f, 0.5f, 0.0f, 1.0f};
    };
    for (const Format format : {Format::A8R8G8B8, Format::X8R8G8B8, Format::R5G6B5, Format::X1R5G5B5, Format::A1R5G5B5,
                                Format::A4R4G4B4, Format::L8, Format::A8}) {
        SCOPED_TRACE(static_cast<int>(format));
        std::shared_ptr<Texture> texture;
        ASSERT_EQ(kOk, device->CreateTexture(4, 4, 1, 0, format, Pool::Managed, &texture));
        ASSERT_EQ(kOk, os::gfx::FillTexture(texture.get(), fill, nullptr));
        std::uint8_t texel[4] = {};
        std::uint32_t expected = 0;
        os::gfx::ConvertFromArgb(&colour, 1, format, texel);
        os::gfx::ConvertToArgb(texel, 1, format, &expected);
        ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
        const std::uint32_t got = Pixel(ReadBack(), 2, 2);
        for (int shift = 0; shift < 32; shift += 8) {
            EXPECT_NEAR(static_cast<int>((expected >> shift) & 0xFF), static_cast<int>((got >> shift) & 0xFF), 1)
                << std::hex << got << " against " << expected;
        }
    }
}

TEST_F(TextureTest, RenderTargetCopyMatchesTheBackBufferTopRowOnTop)
{
    const os::gfx::ClearRect top{0, 0, static_cast<std::int32_t>(kWidth), 10};
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF0000FFu, 1.0f, 0));
    ASSERT_EQ(kOk, device->Clear(1, &top, os::gfx::clear::Target, 0xFFFF0000u, 1.0f, 0));
    const auto before = ReadBack();

    std::shared_ptr<Texture> copy;
    ASSERT_EQ(kOk, device->CreateTexture(kWidth, kHeight, 1, os::gfx::usage::RenderTarget, Format::X8R8G8B8,
                                         Pool::Default, &copy));
    std::shared_ptr<os::gfx::Surface> backBuffer;
    std::shared_ptr<os::gfx::Surface> level;
    ASSERT_EQ(kOk, device->GetRenderTarget(0, &backBuffer));
    ASSERT_EQ(kOk, copy->GetSurfaceLevel(0, &level));
    ASSERT_EQ(kOk,
              device->StretchRect(backBuffer.get(), nullptr, level.get(), nullptr, os::gfx::TextureFilterType::None));
    ASSERT_NO_FATAL_FAILURE(DrawTexture(copy));
    EXPECT_EQ(before, ReadBack());

    // A part lands where the destination rectangle says, rows counted from the top.
    const os::gfx::Rect source{10, 20, 14, 24};
    const os::gfx::Rect dest{0, 0, 4, 4};
    ASSERT_EQ(kOk, device->Clear(0, nullptr, os::gfx::clear::Target, 0xFF00FF00u, 1.0f, 0));
    ASSERT_EQ(kOk,
              device->StretchRect(backBuffer.get(), &source, level.get(), &dest, os::gfx::TextureFilterType::None));
    ASSERT_NO_FATAL_FAILURE(DrawTexture(copy));
    ExpectPixels({{0, 0, 0xFF00FF00u}, {3, 3, 0xFF00FF00u}, {4, 0, 0xFFFF0000u}, {0, 30, 0xFF0000FFu}});

    std::shared_ptr<os::gfx::Surface> none;
    EXPECT_EQ(kErrInvalidCall, device->GetRenderTarget(1, &none));
    EXPECT_FALSE(none);
    const os::gfx::Rect outside{0, 0, static_cast<std::int32_t>(kWidth) + 1, 4};
    std::shared_ptr<Texture> plain;
    ASSERT_EQ(kOk, device->CreateTexture(kWidth, kHeight, 1, 0, Format::X8R8G8B8, Pool::Default, &plain));
    std::shared_ptr<os::gfx::Surface> plainLevel;
    ASSERT_EQ(kOk, plain->GetSurfaceLevel(0, &plainLevel));
    const os::gfx::TextureFilterType kNone = os::gfx::TextureFilterType::None;
    EXPECT_EQ(kErrInvalidCall, device->StretchRect(nullptr, nullptr, level.get(), nullptr, kNone));
    EXPECT_EQ(kErrInvalidCall, device->StretchRect(backBuffer.get(), nullptr, plainLevel.get(), nullptr, kNone));
    EXPECT_EQ(kErrInvalidCall, device->StretchRect(backBuffer.get(), &outside, level.get(), nullptr, kNone));
}

TEST_F(TextureTest, TexturesMadeOnAnotherThreadUploadAtTheDevicesNextCallAndReleaseAnywhere)
{
    const std::string png = WritePng(4, 4, PNG_COLOR_TYPE_RGBA, 8, Pattern);
    std::shared_ptr<Texture> texture;
    std::thread loader([&] { texture = Load(png); });
    loader.join();
    ASSERT_TRUE(texture);
    EXPECT_FALSE(texture->IsUploaded());
    ASSERT_EQ(kOk, device->Present());
    EXPECT_TRUE(texture->IsUploaded());
    ASSERT_NO_FATAL_FAILURE(DrawTexture(texture));
    ExpectPixels({{1, 2, Pattern(1, 2)}, {3, 3, Pattern(3, 3)}});

    // Released on another thread while bound elsewhere, and after the device is gone.
    std::shared_ptr<Texture> other = Load(png);
    ASSERT_EQ(kOk, device->SetTexture(0, nullptr));
    std::thread([moved = std::move(other)]() mutable { moved.reset(); }).join();
    ASSERT_EQ(kOk, device->Present());
    draw.Release();
    shaders = ColorShaders();
    device.reset();
    texture.reset();
}

} // namespace
} // namespace gfxtest
